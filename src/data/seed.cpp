#include "data/seed.h"

#include <filesystem>

#include "data/table_csv.h"
#include "platform/files.h"

namespace kdm {

Error initDataDirectory(const std::string& dir, InitResult& result) {
  std::error_code ec;
  if (!std::filesystem::exists(dir, ec)) {
    std::filesystem::create_directory(dir, ec);
    if (ec) return makeError(ErrorCode::PathNotFound, "Cannot create the data directory " + dir + ": " + ec.message());
  }
  // An empty kdm.db (an init stopped before its first write) is made a store as a missing one is.
  std::string path = joinPath(dir, Database::kFileName);
  result.created = !fileExists(path) || std::filesystem::file_size(path, ec) == 0;
  std::unique_ptr<DataStore> store;
  if (Error e = DataStore::open(dir, true, store)) return e;
  Transaction tx(store->db());
  if (tx.error()) return tx.error();
  for (const seed::SeedFile& f : seed::files()) {
    const LabelDef* def = findLabel(f.label);
    if (!def) return makeError(ErrorCode::UnknownLabel, std::string("Seed for an unknown file: ") + f.label);
    RecordFile file(*store, *def);
    if (Error e = file.open()) return e;
    if (file.count() > 0) continue;
    std::int64_t stored = 0;
    if (Error e = importCsv(*store, *def, f.csv, stored))
      return makeError(e.kind(), std::string("Seed ") + f.label + ", " + e.text);
    result.filled.push_back(std::string(f.label) + " (" + std::to_string(stored) + ")");
  }
  return tx.commit();
}

}  // namespace kdm
