#include "register/obligor.h"

#include "checks/checks.h"
#include "register/common.h"

namespace kdm {

using namespace reg;

namespace {

constexpr const char* kMbField = "POS:MB01";
constexpr const char* kJmbgField = "POS:JMBG";

// Opens TBPOSLOD and reads the obligor `number` into f.rec.
bool openObligor(File<TBPOSLOD>& f, std::int16_t number, Reporter& out) {
  if (Error e = f.open()) {
    out.message(failure("Greška kod otvaranja TBPOSLOD", e));
    return false;
  }
  f.clear();
  f.rec.REDBROJ = number;
  if (f.get("KEYREDBROJ")) {
    out.message("Greška kod čitanja TBPOSLOD");
    return false;
  }
  return true;
}

// The identity-number rules that depend on the obligor type's flags.
bool checkNumbersForType(const TBPOSLOD& pos, const TBVRSOBV& vob, Reporter& out) {
  std::string type(trimRight(pos.VRSTOBVEZNIKA));
  std::string_view mb = trimRight(pos.MB01);
  std::string_view mbg = trimRight(pos.JMBG);
  bool hasMb = !noMb(mb), hasMbg = !noMbg(mbg);
  if (!hasMb && !hasMbg) return refuse(out, kMbField, "Obvezno upišite ili MB ili MBG");
  if (hasMb && hasMbg && !(startsWith8or9(mb) && type == "02"))
    return refuse(out, kMbField, "Greška. Nije dozvoljeno upisati MB i MBG, izuzev ako MB počinje sa 8 ili 9");
  if (sameText(vob.MB01, "DA") && charCount(mb) < 8)
    return refuse(out, kMbField, "Za VOB=" + type + " MB pravne osobe mora se upisati");
  if (sameText(vob.MB01, "NE") && hasMb && !startsWith8or9(mb) && type != "02" && type != "21")
    return refuse(out, kMbField, "Za VOB=" + type + " MB pravne osobe se ne upisuje, izuzev ako počinje sa 8 ili 9");
  if (sameText(vob.MBG, "DA") && charCount(mbg) < 13)
    return refuse(out, kJmbgField, "Za VOB=" + type + " MBG mora se upisati");
  if (sameText(vob.MBG, "NE") && hasMbg && !startsWith8or9(mb))
    return refuse(out, kJmbgField, "Za VOB=" + type + " MBG se ne upisuje");
  return true;
}

}  // namespace

bool readObligor(DataStore& store, std::int16_t number, TBPOSLOD& pos, Reporter& out) {
  File<TBPOSLOD> f(store);
  if (!openObligor(f, number, out)) return false;
  pos = f.rec;
  return true;
}

void primeNewObligor(TBPOSLOD& pos) {
  pos = TBPOSLOD{};
  pos.JMBG = std::string(kNoMbg);
  pos.MB02 = std::string(kNoMb02);
}

std::string obligorTypeDescription(DataStore& store, const std::string& type) {
  File<TBVRSOBV> vob(store);
  if (vob.open()) return {};
  vob.rec.SIFRA = type;
  if (vob.get("KEYSIFRA")) return {};
  return vob.rec.OPIS;
}

bool checkObligorForSave(Globals& GLO, DataStore& store, const TBPOSLOD& pos, Reporter& out) {
  if (pos.REDBROJ < kLowestObligor || pos.REDBROJ > kHighestObligor)
    return refuse(out, "POS:REDBROJ",
                  "Redni broj obveznika mora biti od " + std::to_string(kLowestObligor) + " do " +
                      std::to_string(kHighestObligor));
  if (isBlank(pos.NAZIV))
    return refuse(out, "POS:NAZIV", "Greška broj 6. Naziv ili prezime i ime je obvezan podatak");
  if (isBlank(pos.ADRESA)) return refuse(out, "POS:ADRESA", "Greška broj 7. Adresa obveznika je obvezan podatak");
  if (isBlank(pos.KONTAKT)) return refuse(out, "POS:KONTAKT", "Greška broj 8. Kontakt osoba se obvezno upisuje");

  File<TBVRSOBV> vob(store);
  if (Error e = vob.open()) {
    out.message(failure("Greška kod otvaranja TBVRSOBV", e));
    return false;
  }
  vob.rec.SIFRA = pos.VRSTOBVEZNIKA;
  if (isBlank(pos.VRSTOBVEZNIKA) || vob.get("KEYSIFRA"))
    return refuse(out, "POS:VRSTOBVEZNIKA", "Pogrešna vrsta obveznika. Ispravite !");

  if (!sameText(pos.VRSTOBVEZNIKA, "17") && !checkNumbersForType(pos, vob.rec, out)) return false;

  std::string_view mb = trimRight(pos.MB01);
  if (charCount(mb) == 8 && mb != kNoMb && (!isDigits(mb) || !MbCheck(GLO, mb)))
    return refuse(out, kMbField, "Pogrešan MB Firme", true);

  std::string_view mbg = trimRight(pos.JMBG);
  if (charCount(mbg) > 1 && mbg != kNoMbg) {
    if (charCount(mbg) != 13) return refuse(out, kJmbgField, "MBG je netočan - nema 13 znamenaka.");
    if (!isDigits(mbg) || !MbgCheck(GLO, mbg))
      return refuse(out, kJmbgField, "MBG nije točan. ISPRAVITE Podatak", true);
  }
  return true;
}

bool saveObligor(Globals& GLO, DataStore& store, TBPOSLOD& pos, bool isNew, Reporter& out) {
  if (!checkObligorForSave(GLO, store, pos, out)) return false;
  File<TBPOSLOD> f(store);
  if (isNew) {
    if (Error e = f.open()) {
      out.message(failure("Greška kod otvaranja TBPOSLOD", e));
      return false;
    }
  } else if (!openObligor(f, GLO.Firma, out)) {
    return false;
  }
  f.rec = pos;
  if (Error e = isNew ? f.insert() : f.update()) {
    out.message(failure("Greška kod upisa TBPOSLOD", e));
    return false;
  }
  pos = f.rec;
  return true;
}

bool deleteObligor(Globals& GLO, DataStore& store, std::int16_t number, Reporter& out) {
  GLO.Firma = number;
  File<TBPOSLOD> f(store);
  if (!openObligor(f, number, out)) return false;
  // Directly, not through the relation: the employee rows stay.
  if (Error e = f.erase()) {
    out.message(failure("Greška kod brisanja TBPOSLOD", e));
    return false;
  }
  return true;
}

}  // namespace kdm
