#include "submission/control_number.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "data/records.h"
#include "platform/files.h"
#include "platform/hash.h"

namespace kdm {

bool storeControlNumber(DataStore& store, Reporter& out, const std::string& konVeza,
                        const std::string& identifikator, std::string_view hash) {
  File<TBOBRAZA> a(store);
  a.rec.KONVEZA = konVeza;
  if (a.open() || a.get("KEYIDENTIKATOR")) {
    out.message("Greška kod ažuriranja SHA broja (1)=" + identifikator);
    return false;
  }
  a.rec.KONZNAK = controlNumber(hash);
  if (a.put()) {
    out.message("Greška kod ažuriranja SHA broja (2)");
    return false;
  }
  return true;
}

bool copySourceExists(const std::string& name, Reporter& out) {
  if (fileExists(name)) return true;
  out.message("File: " + name + " nije pronađen");
  return false;
}

bool copyToMedium(const std::string& source, const std::string& destination, Reporter& out) {
  auto report = [&](const Error& e) {
    out.message("Greška, file: " + source + " " + destination + " Error=" + e.text);
    return false;
  };
  if (!fileExists(source))
    return report(makeError(ErrorCode::FileNotFound, std::string(errorText(ErrorCode::FileNotFound)) + ": " + source));
  std::error_code ec;
  // Deleting the destination first would delete the source itself.
  if (std::filesystem::equivalent(source, destination, ec)) return true;
  // Nor is a folder (a mount point, say) replaced by a file.
  if (isDirectory(destination)) return report(makeError(ErrorCode::AccessDenied, std::strerror(EISDIR)));
  // The previous copy stays until the new one is complete.
  if (Error e = copyFileReplacing(source, destination)) return report(e);
  return true;
}

}  // namespace kdm
