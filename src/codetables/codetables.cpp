#include "codetables/codetables.h"

#include "checks/checks.h"
#include "platform/text.h"

namespace kdm {

bool leaveCalculationTypeCode(const TBVRSUPL& vup, Reporter& out) {
  if (charCount(trimRight(vup.SIFRA)) < 2) {
    out.message("Greška. Šifra mora sadržavati 2 (dva) znaka");
    out.focus("VUP:SIFRA");
    return false;
  }
  return true;
}

bool checkNewCalculationType(DataStore& store, const TBVRSUPL& vup, Reporter& out) {
  // The form keeps what was typed: the record found is only looked at.
  File<TBVRSUPL> file(store);
  if (Error e = file.open()) {
    out.message("Greška " + e.text);
    return false;
  }
  file.rec.SIFRA = vup.SIFRA;
  if (!file.get("KEYSIFRA")) {
    out.message("Greška. Dupla šifra");
    out.focus("VUP:SIFRA");
    return false;
  }
  file.clear();
  file.rec.OPIS = vup.OPIS;
  if (!isBlank(vup.OPIS) && !file.get("KEYNAZIV")) {
    out.message("Greška. Dupli naziv pojma");
    out.focus("VUP:OPIS");
    return false;
  }
  return true;
}

bool leaveMunicipalityCode(Globals& GLO, const TBOPCINE& opc, Reporter& out) {
  const std::string code(trimRight(opc.SIFRA));
  auto refuse = [&](const char* text, bool beep) {
    if (beep) out.beep();
    out.message(text);
    out.focus("OPC:SIFRA");
    return false;
  };
  if (charCount(code) < 4) return refuse("Greška. Šifra općine/grada ima 4 znaka", false);
  if (!isDigits(code)) return refuse("Pogrešna šifre općine/grada", true);
  if (code != "0000" && !MunicipalityCodeCheck(GLO, code)) return refuse("Pogrešan šifra općine/grada", true);
  return true;
}

std::string codeShortDescription(DataStore& store, const std::string& label, const std::string& code) {
  RecordFile file(store, label);
  if (file.open()) return {};
  Record rec = file.blank();
  const int sifra = rec.index("SIFRA"), short_ = rec.index("SKROPIS");
  if (sifra < 0 || short_ < 0) return {};
  rec.setText(sifra, code);
  if (file.get("KEYSIFRA", rec)) return {};
  return rec.text(short_);
}

}  // namespace kdm
