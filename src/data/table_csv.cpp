#include "data/table_csv.h"

#include <set>

#include "data/text_label.h"
#include "platform/csv.h"
#include "platform/text.h"

namespace kdm {

Error exportCsv(DataStore& store, const LabelDef& def, const KeyDef* key, std::ostream& out) {
  std::vector<std::string> values;
  for (auto& f : def.fields) values.push_back(f.name);
  out << csvLine(values);
  Record rec(def);
  auto emit = [&] {
    for (int i = 0; i < rec.size(); ++i) values[i] = rec.format(i);
    out << csvLine(values);
  };
  if (def.kind == FileKind::Text) {
    TextLabelFile file(store, def);
    if (Error e = file.openRead()) return e;
    while (file.read(rec)) emit();
    return file.readError();
  }
  RecordFile file(store, def);
  if (Error e = file.open()) return e;
  if (Error e = file.set(key ? key : def.primaryKey(), nullptr)) return e;
  for (;;) {
    Error e = file.next(rec);
    if (e.kind() == ErrorCode::NoMoreRecords) break;
    if (e) return e;
    emit();
  }
  return out ? ok() : makeError(ErrorCode::WriteError);
}

Error importCsv(DataStore& store, const LabelDef& def, std::string_view csv, std::int64_t& stored) {
  stored = 0;
  if (def.kind != FileKind::Keyed)
    return makeError(ErrorCode::InvalidInput, def.label + " is a text file; only keyed files are imported");
  if (Error e = checkCsvText(csv)) return e;
  CsvReader reader(csv);
  std::vector<std::string> header, row;
  if (!reader.next(header)) {
    if (reader.error()) return reader.error();
    return makeError(ErrorCode::InvalidInput, "line 1: no header line");
  }
  std::vector<int> columns;
  std::set<int> seen;
  for (auto& name : header) {
    int i = def.fieldIndex(std::string(trim(name)));
    if (i < 0)
      return makeError(ErrorCode::UnknownField, "line 1: " + def.label + " has no field \"" + name + "\"");
    if (!seen.insert(i).second)
      return makeError(ErrorCode::InvalidInput, "line 1: field \"" + name + "\" is named twice");
    columns.push_back(i);
  }

  RecordFile file(store, def);
  if (Error e = file.open()) return e;
  Transaction tx(store.db());
  if (tx.error()) return tx.error();
  Record rec(def);
  auto at = [&](const Error& e) {
    return makeError(e.kind(), "line " + std::to_string(reader.line()) + ": " + e.text);
  };
  while (reader.next(row)) {
    if (row.size() == 1 && row[0].empty()) continue;  // blank line
    if (row.size() != columns.size())
      return makeError(ErrorCode::InvalidInput, "line " + std::to_string(reader.line()) + ": " +
                                                    std::to_string(row.size()) + " fields where the header has " +
                                                    std::to_string(columns.size()));
    if (Error e = file.prime(rec)) return at(e);
    for (std::size_t c = 0; c < columns.size(); ++c)
      if (Error e = rec.parse(columns[c], row[c])) return at(e);
    if (Error e = file.insert(rec)) return at(e);
    ++stored;
  }
  if (reader.error()) return reader.error();
  return tx.commit();
}

}  // namespace kdm
