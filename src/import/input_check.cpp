#include "import/input_check.h"

#include "checks/checks.h"
#include "data/run_unit.h"
#include "platform/fault.h"
#include "forms/form_creation.h"
#include "import/line_checks.h"
#include "import/payroll_file.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "app/parameters.h"

namespace kdm {
namespace {

const char* kRefusal = "Ispravite podatke o ovlaštenoj osobi.| Ispravak izvršite kroz Servisi/Aplikacijski parametri";

std::string n5(std::int64_t n) { return padLeft(std::to_string(n), 5); }

// Opens a working file exclusively and empties it; failures are reported
// and the run goes on with the file as it could be opened.
void openEmptied(RecordFile& file, const std::string& diskName, Reporter& out) {
  if (file.open(OpenMode::Exclusive)) {
    out.message("Greška pri otvaranju " + diskName);
    file.open(OpenMode::Shared);
  }
  if (file.empty()) out.message("Greška pri pražnjenju " + diskName);
}

// The fields of TBOSIGU2 and TBOSIGU3, which share their layout.
struct ImportedFields {
  int JMBG, PREZIME, OPCINA, CLANDN, OSNOVA1, OSNOVA3, OBRRAZD1, OBRRAZD2, IZNOS7, GODOBRA, OBRMJE, VRSUPL;
  explicit ImportedFields(const LabelDef& d)
      : JMBG(d.fieldIndex("JMBG")), PREZIME(d.fieldIndex("PREZIME")), OPCINA(d.fieldIndex("OPCINA")),
        CLANDN(d.fieldIndex("CLANDN")), OSNOVA1(d.fieldIndex("OSNOVA1")), OSNOVA3(d.fieldIndex("OSNOVA3")),
        OBRRAZD1(d.fieldIndex("OBRRAZD1")), OBRRAZD2(d.fieldIndex("OBRRAZD2")), IZNOS7(d.fieldIndex("IZNOS7")),
        GODOBRA(d.fieldIndex("GODOBRA")), OBRMJE(d.fieldIndex("OBRMJE")), VRSUPL(d.fieldIndex("VRSUPL")) {}

  // The person's text fields and the days, as the line has them.
  void fillFromLine(Record& r, const TBUPLATE& line) const {
    r.rowid = 0;
    r.setText(JMBG, std::string(trimRight(line.JMBG)));
    r.setText(PREZIME, std::string(trimRight(line.PREZIME)));
    r.setText(OPCINA, std::string(trimRight(line.OPCINA)));
    r.setText(CLANDN, std::string(trimRight(line.CLANDN)));
    r.setText(OSNOVA1, std::string(trimRight(line.OSNOVA1)));
    r.setText(OSNOVA3, std::string(trimRight(line.OSNOVA3)));
    r.setInteger(OBRRAZD1, fieldNumber(line.OBRRAZD1));
    r.setInteger(OBRRAZD2, fieldNumber(line.OBRRAZD2));
  }
  void fillRest(Record& r, const Amounts& amounts, int year, int month, std::string_view vrsUpl) const {
    for (int i = 0; i < 5; ++i) r.setDecimal(IZNOS7 + i, amounts[i]);
    r.setInteger(GODOBRA, year);
    r.setInteger(OBRMJE, month);
    r.setText(VRSUPL, std::string(trimRight(vrsUpl)));
  }
};

}  // namespace

bool openInputCheck(Globals& GLO, DataStore& store, InputCheckWindow& w, Reporter& out) {
  APLPARAM apl;
  if (readParameters(store, apl) && apl.JMBG == kPlaceholderJmbg) {
    out.message(kRefusal);
    return false;
  }
  w.file = apl.ULAZDIR;
  GLO.Firma = 0;
  GLO.VrsUpl = "0";
  w.dayFrom = w.dayTo = 0;
  Date now = today();
  w.year = w.payYear = static_cast<std::int16_t>(now.year());
  w.month = w.payMonth = static_cast<std::int16_t>(now.month());
  return true;
}

bool chooseCheckObligor(Globals& GLO, DataStore& store, InputCheckWindow& w, std::int16_t number) {
  File<TBPOSLOD> pos(store);
  pos.rec.REDBROJ = number;
  if (pos.open() || pos.get("KEYREDBROJ")) return false;
  GLO.Firma = pos.rec.REDBROJ;
  GLO.ZadBroj = pos.rec.IDENTIFIKATOR;
  GLO.VrsObv = GLO.VO = pos.rec.VRSTOBVEZNIKA;
  w.MB01 = pos.rec.MB01;
  w.MB02 = pos.rec.MB02;
  w.JMBG = pos.rec.JMBG;
  return true;
}

bool leaveCheckYearField(const std::string& typed, Reporter& out) {
  if (trim(typed).size() < 4) {
    out.message("Greška. Godina mora biti 4-znamenkasta");
    out.focus("LOC:ObrGodina");
    return false;
  }
  return true;
}

bool leaveCheckMonthField(const Globals& GLO, const InputCheckWindow& w, Reporter& out) {
  if (w.month > 12) {
    out.message("Pogrešna oznaka mjeseca");
    out.focus("LOC:ObrMjesec");
    return false;
  }
  if ((GLO.VrsUpl == "03" || GLO.VrsUpl == "05" || GLO.VrsUpl == "06") && w.month > 0) {
    out.message("Za uplate 03 05 i 06 mjesec mora biti = 00");
    out.focus("LOC:ObrMjesec");
    return false;
  }
  return true;
}

bool leaveCheckDayField(Globals& GLO, const InputCheckWindow& w, std::int16_t day, Reporter& out) {
  if (w.month > 0 && w.month <= 12 && !DayInMonthCheck(GLO, w.year, w.month, day)) {
    out.message("Pogrešan dan");
    return false;
  }
  return true;
}

bool checkPayrollFile(Globals& GLO, DataStore& store, const InputCheckWindow& w, ImportResult& result, Reporter& out) {
  result = ImportResult{};
  APLPARAM apl;
  readParameters(store, apl);
  if (apl.JMBG == kPlaceholderJmbg) {
    out.message(kRefusal);
    return false;
  }
  // Another run on the staged file or the result files is refused before
  // anything changes.
  RunUnit run(store);
  if (Error e = run.hold({"TBUPLATE", "TBOSIGU2", "TBOSIGU3", "TBGRESKE"})) {
    out.message(e.text);
    return false;
  }
  FindingList findings(store);
  findings.begin(out);
  if (w.year < 1000) out.message("Greška. Godina mora biti 4-znamenkasta");
  if (w.year < 2005) {
    out.message("Greška. Godina mora biti veća od 2004");
    out.focus("LOC:ObrGodina");
    return false;
  }
  if (w.month > 12) {
    out.message("Pogrešna oznaka mjeseca");
    out.focus("LOC:ObrMjesec");
    return false;
  }
  if (!stagePayrollFile(store, w.file, out)) return false;
  PayrollReader reader;
  if (!openStagedPayroll(store, reader, out)) return false;
  TBPOSLOD pos;
  if (!readImportObligor(store, GLO.Firma, pos, out)) return false;
  CodeTables tables;
  if (Error e = tables.load(store)) {
    out.message("Greška " + std::to_string(e.code) + " " + e.text);
    return false;
  }

  out.status("Malo strpljenja. Radim...");
  Transaction tx(store.db());
  RecordFile osi2(store, "TBOSIGU2"), osi3(store, "TBOSIGU3");
  openEmptied(osi2, "TBOSIGU2.DAT", out);
  openEmptied(osi3, "TBOSIGU3.DAT", out);
  const ImportedFields f(osi2.def());
  Record r2 = osi2.blank(), r3 = osi3.blank();

  PayrollSelection selection;
  selection.obligor = PayrollObligor::of(pos);
  selection.year = w.year;
  selection.month = w.month;
  selection.dayFrom = w.dayFrom;
  selection.dayTo = w.dayTo;
  selection.type = linePaymentType(GLO.VrsUpl);
  LineChecker checker(CheckRun::InputCheck, tables, GLO);
  checker.choose(GLO.VO, pos.VRSTOBVEZNIKA, GLO.VrsUpl, w.year, w.month);

  TBUPLATE line;
  std::string previousJmbg;
  Amounts remembered{};
  bool allLinesStored = true;
  const std::string* amountFields[] = {&line.IZNOS7, &line.IZNOS8, &line.IZNOS9, &line.IZNOS10, &line.IZNOS11};
  auto rememberedOf = [&](int column) { return remembered[column]; };
  auto sink = [&](const std::string& text) { findings.add(line, text, out); };

  while (reader.next(line)) {
    ++result.read;
    Amounts amounts{};
    for (int i = 0; i < 5; ++i)
      if (auto a = payrollAmount(*amountFields[i])) amounts[i] = *a;

    f.fillFromLine(r3, line);
    f.fillRest(r3, amounts, w.year, w.month, line.VRSTAUPLA);
    if (Error e = osi3.add(r3); e && allLinesStored) {
      out.message("Greška kod upisa " + std::to_string(e.code));
      allLinesStored = false;
    }

    if (line.JMBG != previousJmbg) remembered = {};
    for (int i = 0; i < 5; ++i)
      if (amounts[i] > Decimal()) remembered[i] = amounts[i];
    previousJmbg = line.JMBG;

    if (!selection.selects(line)) continue;
    out.status("Formalna kontrola za = " + std::string(trimRight(line.PREZIME)));
    LineVerdict v = checker.check(line, rememberedOf, sink);
    if (v.marked) {
      ++result.marked;
      continue;
    }
    f.fillFromLine(r2, line);
    f.fillRest(r2, v.amounts, w.year, w.month, GLO.VrsUpl);
    if (Error e = osi2.add(r2)) out.message("Greška kod upisa " + std::to_string(e.code));
    ++result.accepted;
  }
  if (reader.error()) out.message("Greška kod čitanja TBUPLATE.DAT " + reader.error().text);
  Error e = faultPoint("payroll.check");
  if (!e) e = tx.commit();
  if (e) {
    out.message("Greška " + std::to_string(e.code) + " " + e.text);
    return false;
  }

  out.status("Ukupno obrađeno=" + n5(result.read));
  result.shown = true;
  result.MB = w.MB01;
  result.MBG = w.JMBG;
  result.dayFrom = w.dayFrom;
  result.dayTo = w.dayTo;
  result.type = GLO.VrsUpl;
  result.year = w.year;
  result.month = w.month;
  return true;
}

}  // namespace kdm
