#include "app/parameters.h"

#include <filesystem>

#include "platform/files.h"

#include "checks/checks.h"
#include "register/common.h"

namespace kdm {

using namespace reg;

namespace {

constexpr const char* kMbField = "APL:MB01";
constexpr const char* kJmbgField = "APL:JMBG";

}  // namespace

bool leaveParametersMb(Globals& GLO, const APLPARAM& apl, Reporter& out) {
  if (width(apl.MB01) != 8 || sameText(apl.MB01, kNoMb)) return true;
  if (!isDigits(trimRight(apl.MB01)) || !MbCheck(GLO, trimRight(apl.MB01)))
    return refuse(out, kMbField, "Pogrešan  MB ");
  return true;
}

bool leaveParametersJmbg(Globals& GLO, const APLPARAM& apl, Reporter& out) {
  std::string_view jmbg = trimRight(apl.JMBG);
  if (!isDigits(jmbg) || jmbg == kNoMbg) return true;
  if (!MbgCheck(GLO, jmbg)) return refuse(out, kJmbgField, "Pogrešan JMBG");
  return true;
}

bool checkParametersForSave(Globals& GLO, const APLPARAM& apl, Reporter& out) {
  GLO.Status = 0;
  std::string_view mb = trimRight(apl.MB01);
  std::string_view jmbg = trimRight(apl.JMBG);
  if (mb == kNoMb && jmbg == kNoMbg) return refuse(out, kMbField, "Upišite MB il JMBG");
  if (!noMb(mb) && !noMbg(jmbg)) {
    GLO.Status = 1;
    return refuse(out, kMbField, "Greška. Nije dozvoljeno upisati MB i JMBG");
  }
  if (charCount(mb) == 8 && mb != kNoMb && (!isDigits(mb) || !MbCheck(GLO, mb)))
    return refuse(out, kMbField, "Pogrešan MB Firme", true);
  if (charCount(jmbg) > 1 && jmbg != kNoMbg) {
    if (charCount(jmbg) != 13) return refuse(out, kJmbgField, "JMBG je netočan - nema 13 znamenaka.");
    if (!isDigits(jmbg) || !MbgCheck(GLO, jmbg))
      return refuse(out, kJmbgField, "JMBG nije točan. ISPRAVITE Podatak", true);
  }
  return true;
}

bool saveParameters(Globals& GLO, DataStore& store, APLPARAM& apl, Reporter& out) {
  if (!checkParametersForSave(GLO, apl, out)) return false;
  File<APLPARAM> f(store);
  if (Error e = f.open()) {
    out.message(failure("Greška kod otvaranja APLPARAM", e));
    return false;
  }
  f.rec.RB = 1;
  if (Error e = f.get("KEYRB")) {
    out.message(failure("Greška kod čitanja APLPARAM", e));
    return false;
  }
  f.rec = apl;
  f.rec.RB = 1;
  if (Error e = f.update()) {
    out.message(failure("Greška kod upisa APLPARAM", e));
    return false;
  }
  apl = f.rec;
  return true;
}

Error ensureParameters(DataStore& store, APLPARAM& apl) {
  File<APLPARAM> f(store);
  if (Error e = f.open()) return e;
  f.rec.RB = 1;
  Error e = f.get("KEYRB");
  if (e.kind() == ErrorCode::RecordNotFound) {
    f.clear();
    f.rec.RB = 1;
    f.rec.NAZIV = "Knjigovodstveni servis";
    f.rec.ADRESA = "NN ulica bb, 10000 Zagreb";
    f.rec.KONOSO = "Nedro";
    f.rec.NAZSJED = "ZAGREB";
    f.rec.SIFSJED = "1333";
    // Added directly: the record layer's defaults are not wanted here.
    if ((e = f.add())) return e;
    f.clear();
    f.rec.RB = 1;
    e = f.get("KEYRB");
  }
  if (!e) apl = f.rec;
  return e;
}

Error ensureParameters(DataStore& store) {
  APLPARAM apl;
  return ensureParameters(store, apl);
}

bool readParameters(DataStore& store, APLPARAM& apl) {
  apl = APLPARAM{};
  File<APLPARAM> f(store);
  f.rec.RB = 1;
  if (f.open() || f.get("KEYRB")) return false;
  apl = f.rec;
  return true;
}

std::string outputDirectory(const DataStore& store, const APLPARAM& apl) {
  std::string dir(trim(apl.IZLAZDIR));
  if (dir.empty()) return store.dir();
  if (std::filesystem::path(dir).is_relative()) return joinPath(store.dir(), dir);
  return dir;
}

}  // namespace kdm
