#include "import/payroll_forms.h"

#include <optional>

#include "import/line_checks.h"
#include "import/payroll_file.h"
#include "platform/fault.h"
#include "platform/text.h"
#include "app/parameters.h"

namespace kdm {
namespace {

std::string n5(std::int64_t n) { return padLeft(std::to_string(n), 5); }

// The fields of a page-B row.
struct RowFields {
  int RBOSOB, JMBG, PREZIME, OPCINA, CLANDN, OSNOVA1, OSNOVA3, OBRRAZD1, OBRRAZD2, IZNOS7, GODOBRA, OBRMJE,
      IDENTIFIKATOR, VRSUPL, KONVEZA, STOPA1, STOPA2, STOPA11, STOPA22;
  explicit RowFields(const LabelDef& d)
      : RBOSOB(d.fieldIndex("RBOSOB")), JMBG(d.fieldIndex("JMBG")), PREZIME(d.fieldIndex("PREZIME")),
        OPCINA(d.fieldIndex("OPCINA")), CLANDN(d.fieldIndex("CLANDN")), OSNOVA1(d.fieldIndex("OSNOVA1")),
        OSNOVA3(d.fieldIndex("OSNOVA3")), OBRRAZD1(d.fieldIndex("OBRRAZD1")), OBRRAZD2(d.fieldIndex("OBRRAZD2")),
        IZNOS7(d.fieldIndex("IZNOS7")), GODOBRA(d.fieldIndex("GODOBRA")), OBRMJE(d.fieldIndex("OBRMJE")),
        IDENTIFIKATOR(d.fieldIndex("IDENTIFIKATOR")), VRSUPL(d.fieldIndex("VRSUPL")),
        KONVEZA(d.fieldIndex("KONVEZA")), STOPA1(d.fieldIndex("STOPA1")), STOPA2(d.fieldIndex("STOPA2")),
        STOPA11(d.fieldIndex("STOPA11")), STOPA22(d.fieldIndex("STOPA22")) {}
};

// The amounts of the person's rows of the chosen month already in
// TBOSIGUR, read in the order of RAD2:KEYJMBG; the last positive amount of
// each column wins.
Amounts rememberedAmounts(RecordFile& osi, const RowFields& f, const std::string& jmbg, int year, int month) {
  Amounts remembered{};
  Record row = osi.blank();
  row.setText(f.JMBG, jmbg);
  row.setInteger(f.OBRRAZD1, INT16_MIN);
  row.setInteger(f.OBRRAZD2, INT16_MIN);
  osi.set("KEYJMBG", &row);
  while (!osi.next(row) && collate(row.text(f.JMBG), jmbg) == 0) {
    if (row.integer(f.GODOBRA) != year || row.integer(f.OBRMJE) != month) continue;
    for (int i = 0; i < 5; ++i)
      if (row.decimal(f.IZNOS7 + i) > Decimal()) remembered[i] = row.decimal(f.IZNOS7 + i);
  }
  return remembered;
}

}  // namespace

bool openPayrollForms(Globals& GLO, DataStore& store, std::string& file, Reporter& out) {
  if (!openFormCreation(GLO, store, out)) return false;
  APLPARAM apl;
  readParameters(store, apl);
  file = apl.ULAZDIR;
  GLO.Firma = 0;
  GLO.VrsUpl = "0";
  GLO.DanOd = GLO.DanDo = 0;
  GLO.IspisKB = "D";
  return true;
}

bool choosePayrollObligor(Globals& GLO, DataStore& store, std::int16_t number) {
  File<TBPOSLOD> pos(store);
  pos.rec.REDBROJ = number;
  if (pos.open() || pos.get("KEYREDBROJ")) return false;
  GLO.Firma = pos.rec.REDBROJ;
  GLO.NazFime = pos.rec.NAZIV;
  GLO.ZadBroj = pos.rec.IDENTIFIKATOR;
  GLO.VrsObv = GLO.VO = pos.rec.VRSTOBVEZNIKA;
  return true;
}

bool leavePayrollYearField(Globals& GLO, const std::string& typed, Reporter& out) {
  if (trim(typed).size() < 4) {
    out.message("Greška. Godina mora biti 4-znamenkasta");
    out.focus("GLO:ObrGodina");
    return false;
  }
  GLO.GodIsplate = GLO.ObrGodina;
  if (GLO.ObrGodina < 2005) {
    out.message("Greška. Godina mor abiti veća od 2004");
    out.focus("GLO:ObrGodina");
    return false;
  }
  return true;
}

bool leavePayrollMonthField(Globals& GLO, Reporter& out) {
  if (GLO.ObrMjesec > 12) {
    out.message("Pogrešna oznaka mjeseca");
    out.focus("GLO:ObrMjesec");
    return false;
  }
  GLO.MjIsplate = GLO.ObrMjesec;
  return true;
}

bool leavePayrollPayMonthField(Globals& GLO, Reporter& out) {
  if (GLO.MjIsplate > 12) {
    out.message("Greška. Pogrešna oznaka mjeseca");
    out.focus("GLO:MjIsplate");
    return false;
  }
  return true;
}

bool formFromPayroll(Globals& GLO, DataStore& store, DeliveryMode mode, const std::string& file, ImportResult& result,
                     Reporter& out) {
  result = ImportResult{};
  APLPARAM apl;
  readParameters(store, apl);
  if (apl.JMBG == kPlaceholderJmbg) {
    out.message("Obavezno ispravite podatke o ovlaštenoj osobi. | Izmjenu izvršite kroz Servisi/Aplikacijski parametri");
    return false;
  }
  // Another run on the same files is refused before anything changes, the
  // error list included.
  RunUnit run(store);
  if (Error e = run.hold(formRunFiles(FormSource::Payroll))) {
    out.message(e.text);
    return false;
  }
  FindingList findings(store);
  findings.begin(out);
  GLO.Status = 0;
  if (GLO.ObrGodina < 1000) {  // only a warning; the next check decides
    out.message("Greška. Godina mora biti 4-znamenkasta");
    out.focus("GLO:ObrGodina");
  }
  if (GLO.ObrGodina < 2005) {
    out.message("Greška. Godina mora biti veća od 2004");
    out.focus("GLO:ObrGodina");
    return false;
  }
  if (GLO.ObrMjesec > 12) {
    out.message("Pogrešna oznaka mjeseca");
    out.focus("GLO:ObrMjesec");
    return false;
  }
  if (GLO.VO == "30" && GLO.ZadBroj > 49) {
    out.message("Za VOB=30 red. broj unutar indetifikatora mora biti < 50");
    out.focus("GLO:ZadBroj");
    return false;
  }
  if (GLO.VO == "31" && GLO.ZadBroj < 50) {
    out.message("Za VOB=31 red. broj unutar indetifikatora mora biti >=50");
    out.focus("GLO:ZadBroj");
    return false;
  }
  if (mode == DeliveryMode::None) {
    out.message("Obavezno izaberite način slanja podataka");
    return false;
  }
  readParameters(store, apl);
  {
    File<TBPOSLOD> chosen(store);
    chosen.rec.REDBROJ = GLO.Firma;
    bool found = !chosen.open() && !chosen.get("KEYREDBROJ");
    buildFormNames(GLO, store, apl, found ? chosen.rec.JMBG : std::string());
  }
  if (!stagePayrollFile(store, file, out)) return false;
  PayrollReader reader;
  if (!openStagedPayroll(store, reader, out)) return false;
  TBPOSLOD pos;
  if (!readImportObligor(store, GLO.Firma, pos, out)) return false;
  CodeTables tables;
  if (Error e = tables.load(store)) {
    out.message("Greška " + std::to_string(e.code) + " " + e.text);
    return false;
  }

  if (Error e = run.begin({GLO.ImeDatoteke})) {
    out.message("Greška " + std::to_string(e.code) + " " + e.text);
    return false;
  }
  RecordFile osi(store, "TBOSIGUR");
  if (osi.open(OpenMode::Exclusive)) {
    out.message("Greška pri otvaranju TBOSIGUR.DAT");
    osi.open(OpenMode::Shared);
  }
  const RowFields f(osi.def());
  PayrollSelection selection;
  selection.obligor = PayrollObligor::of(pos);
  selection.year = GLO.ObrGodina;
  selection.month = GLO.ObrMjesec;
  selection.dayFrom = GLO.DanOd;
  selection.dayTo = GLO.DanDo;
  selection.type = linePaymentType(GLO.VrsUpl);
  LineChecker checker(CheckRun::Forms, tables, GLO);
  checker.choose(GLO.VO, pos.VRSTOBVEZNIKA, GLO.VrsUpl, GLO.ObrGodina, GLO.ObrMjesec);

  std::int64_t taken = 0, withErrors = 0, person = 0;
  bool rejected = false;
  TBUPLATE line;
  std::string previousJmbg = "0000000000000";
  Record row = osi.blank();
  std::optional<Amounts> remembered;
  auto rememberedOf = [&](int column) {
    if (!remembered) remembered = rememberedAmounts(osi, f, line.JMBG, GLO.ObrGodina, GLO.ObrMjesec);
    return (*remembered)[column];
  };
  auto sink = [&](const std::string& text) { findings.add(line, text, out); };
  {
    // The rows of the form: a rejected line rolls them back while the run
    // keeps its findings.
    const std::int64_t findingsEnd = findings.end();
    Transaction rows(store.db());
    deleteFormRows(GLO, osi, out);
    while (reader.next(line)) {
      ++result.read;
      if (!selection.selects(line)) {
        findings.add(line, "Redak nije preuzet.", out);
        ++withErrors;
        continue;
      }
      if (result.read < 100)
        out.status(n5(result.read) + ". Formalna kontrola za = " + std::string(trimRight(line.PREZIME)));
      else if (result.read % 100 == 0)
        out.status("Obrađeno redaka " + n5(result.read));
      remembered.reset();
      LineVerdict v = checker.check(line, rememberedOf, sink);
      if (v.errorFlag) ++withErrors;
      if (v.marked) {
        rejected = true;
        continue;
      }
      if (line.JMBG != previousJmbg) ++person;
      previousJmbg = line.JMBG;
      row.clear();
      row.setText(f.RBOSOB, padLeft(std::to_string(person % 100000), 5, '0'));
      row.setText(f.JMBG, std::string(trimRight(line.JMBG)));
      row.setText(f.PREZIME, std::string(trimRight(line.PREZIME)));
      row.setText(f.OPCINA, std::string(trimRight(line.OPCINA)));
      row.setText(f.CLANDN, std::string(trimRight(line.CLANDN)));
      row.setText(f.OSNOVA1, std::string(trimRight(line.OSNOVA1)));
      row.setText(f.OSNOVA3, std::string(trimRight(line.OSNOVA3)));
      row.setInteger(f.OBRRAZD1, fieldNumber(line.OBRRAZD1));
      row.setInteger(f.OBRRAZD2, fieldNumber(line.OBRRAZD2));
      for (int i = 0; i < 5; ++i) row.setDecimal(f.IZNOS7 + i, v.amounts[i]);
      row.setInteger(f.GODOBRA, GLO.ObrGodina);
      row.setInteger(f.OBRMJE, GLO.ObrMjesec);
      row.setText(f.IDENTIFIKATOR, GLO.Identifikator);
      row.setText(f.VRSUPL, GLO.VrsUpl);
      row.setText(f.KONVEZA, GLO.KonVeza);
      if (v.rates) {
        row.setDecimal(f.STOPA1, v.rates->PRVISTUP1);
        row.setDecimal(f.STOPA2, v.rates->PRVISTUP2);
        row.setDecimal(f.STOPA11, v.rates->DRUGISTUP1);
        row.setDecimal(f.STOPA22, v.rates->DRUGISTUP2);
      }
      if (Error e = osi.insert(row)) {
        out.message("Greška kod upisa " + std::to_string(e.code));
        rejected = true;
        continue;
      }
      ++taken;
    }
    if (reader.error()) {
      out.message("Greška kod čitanja TBUPLATE.DAT " + reader.error().text);
      rejected = true;
    }
    if (Error e = faultPoint("payroll.rows")) {
      out.message("Greška " + e.text);
      return false;
    }
    if (!rejected && taken > 0) {
      if (Error e = rows.commit()) {
        out.message("Greška " + std::to_string(e.code) + " " + e.text);
        return false;
      }
    } else {
      findings.rollBackKeeping(rows, findingsEnd, out);
    }
  }

  out.status("Pročitano=" + n5(result.read) + " Preuzeto=" + n5(taken));
  PayrollObligor last = lineObligor(line);
  result.shown = true;
  result.accepted = taken;
  result.marked = withErrors;
  result.MB = last.MB01;
  result.MBG = last.JMBG;
  result.dayFrom = GLO.DanOd;
  result.dayTo = GLO.DanDo;
  result.type = GLO.VrsUpl;
  result.year = GLO.ObrGodina;
  result.month = GLO.ObrMjesec;
  if (withErrors > 0) result.note = "Nakon obrade pregledajte popis grešaka ";
  // The checks report through GLO.Status too; only a complete run sets 2.
  GLO.Status = 0;
  if (taken == 0 || rejected) {
    // Only the findings of the run are kept, for the user to review.
    osi.close();
    findings.close();
    if (Error e = run.commit()) out.message("Greška " + std::to_string(e.code) + " " + e.text);
    out.status("Obrada je prekinuta, provjerite popis grešaka i upozorenja.");
    out.focus("GLO:ObrGodina");
    return false;
  }
  osi.close();
  findings.close();
  return completeForm(GLO, store, apl, mode, pos, FormSource::Payroll, run, out);
}

}  // namespace kdm
