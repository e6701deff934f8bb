#include "forms/form_creation.h"

#include "checks/checks.h"
#include "app/parameters.h"
#include "platform/clock.h"
#include "platform/fault.h"
#include "platform/files.h"
#include "platform/hash.h"
#include "platform/text.h"
#include "submission/collective.h"
#include "submission/control_number.h"
#include "submission/submission_file.h"

namespace kdm {
namespace {

std::string zeros(long long n, std::size_t width) { return padLeft(std::to_string(n), width, '0'); }
std::string blanks(long long n, std::size_t width) { return padLeft(std::to_string(n), width, ' '); }
char lastDigit(int year) { return static_cast<char>('0' + ((year % 10) + 10) % 10); }


void refusePlaceholder(Reporter& out) {
  out.message("Obavezno ispravite podatke o ovlaštenoj osobi. | Izmjenu izvršite kroz Servisi/Aplikacijski parametri");
}

bool numeric(const std::string& s) { return isDigits(s); }

bool isNaturalPerson(const std::string& jmbg) { return charCount(jmbg) == 13 && jmbg != "0000000000000"; }

// Digits of the identifier that hold the sequence.
std::size_t sequenceDigits(const std::string& type, const std::string& jmbg) {
  return type == "30" || type == "31" || isNaturalPerson(jmbg) ? 2 : 3;
}

// The obligor's MBG; blank when there is no such obligor.
std::string obligorJmbg(DataStore& store, std::int16_t number) {
  File<TBPOSLOD> pos(store);
  pos.rec.REDBROJ = number;
  return pos.open() || pos.get("KEYREDBROJ") ? std::string() : pos.rec.JMBG;
}

}  // namespace


bool openFormCreation(Globals& GLO, DataStore& store, Reporter& out) {
  APLPARAM apl;
  if (readParameters(store, apl) && apl.JMBG == kPlaceholderJmbg) {
    refusePlaceholder(out);
    return false;
  }
  Date now = today();
  GLO.DatSlanja = now;
  GLO.ObrMjesec = GLO.MjIsplate = static_cast<std::int16_t>(now.month());
  GLO.ObrGodina = GLO.GodIsplate = static_cast<std::int16_t>(now.year());
  GLO.IspisKB = "D";
  return true;
}

bool chooseObligor(Globals& GLO, DataStore& store, std::int16_t number, Reporter& out) {
  File<TBPOSLOD> pos(store);
  pos.rec.REDBROJ = number;
  if (pos.open() || pos.get("KEYREDBROJ")) {
    out.message("Greška kod čitanja TBPOSLOD");
    return false;
  }
  GLO.Firma = pos.rec.REDBROJ;
  GLO.NazFime = pos.rec.NAZIV;
  GLO.VrsObv = GLO.VO = pos.rec.VRSTOBVEZNIKA;
  GLO.ZadBroj = static_cast<std::int16_t>(pos.rec.IDENTIFIKATOR + 1);
  return true;
}

bool leaveYearField(Globals& GLO, const std::string& typed, Reporter& out) {
  std::string_view t = trim(typed);
  if (t.size() < 4) {
    out.message("Greška. Godina mora biti 4-znamenkasta");
    out.focus("GLO:ObrGodina");
    return false;
  }
  if (GLO.ObrGodina < 2005) {
    out.message("Greška. Godina mora biti veća od 2004");
    out.focus("GLO:ObrGodina");
    return false;
  }
  GLO.GodIsplate = GLO.ObrGodina;
  return true;
}

bool leaveMonthField(Globals& GLO, Reporter& out) {
  if (GLO.ObrMjesec > 12) {
    out.message("Pogrešna oznaka mjeseca");
    out.focus("GLO:ObrMjesec");
    return false;
  }
  if ((GLO.VrsUpl == "03" || GLO.VrsUpl == "05" || GLO.VrsUpl == "06") && GLO.ObrMjesec != 0) {
    out.message("Za uplate 03 05 i 06 mjesec mora biti = 00");
    out.focus("GLO:ObrMjesec");
    return false;
  }
  GLO.MjIsplate = GLO.ObrMjesec;
  return true;
}

bool leaveDayField(Globals& GLO, std::int16_t day, Reporter& out) {
  if (GLO.ObrMjesec > 0 && GLO.ObrMjesec <= 12 && !DayInMonthCheck(GLO, GLO.ObrGodina, GLO.ObrMjesec, day)) {
    out.message("Pogrešan dan");
    return false;
  }
  return true;
}

bool leavePayMonthField(Globals& GLO, Reporter& out) {
  if (GLO.MjIsplate > 12) {
    out.message("Pogrešna oznaka mjeseca");
    out.focus("GLO:MjIsplate");
    return false;
  }
  return true;
}

bool leaveSequenceField(Globals& GLO, DataStore& store, Reporter& out) {
  std::string jmbg = obligorJmbg(store, GLO.Firma);
  std::size_t digits = sequenceDigits(GLO.VO, jmbg);
  if (std::to_string(GLO.ZadBroj).size() <= digits) return true;
  std::string whose = GLO.VO == "30" || GLO.VO == "31" ? "Za VOB=" + GLO.VO + " red. broj"
                      : digits == 2                      ? "Za fizičku osobu red. broj"
                                                         : "Red. broj";
  out.message(whose + " unutar identifikatora mora biti <" + (digits == 2 ? "100" : "1000"));
  out.focus("GLO:ZadBroj");
  return false;
}

std::string identifierSuffix(const std::string& type, const std::string& jmbg, int year, int sequence) {
  if (type == "30" || type == "31") return std::string("9") + lastDigit(year) + zeros(sequence, 2);
  if (sequenceDigits(type, jmbg) == 2) return lastDigit(year) + zeros(sequence, 2) + " ";
  return lastDigit(year) + zeros(sequence, 3);
}

std::string submissionCopyName(int obligor, int year, int sequence) {
  return "F" + zeros(obligor, 3) + lastDigit(year) + zeros(sequence, 3) + ".TXT";
}

bool lookUpForm(Globals& GLO, DataStore& store, Reporter& out) {
  std::string jmbg = obligorJmbg(store, GLO.Firma);
  // The identifier is built as processing builds it, so the form just formed
  // is found for every kind of obligor.
  GLO.IdNastavak = identifierSuffix(GLO.VO, jmbg, GLO.ObrGodina, GLO.ZadBroj);
  GLO.Identifikator = zeros(GLO.Firma, 3) + GLO.IdNastavak;
  GLO.KonVeza = GLO.Identifikator + GLO.VrsUpl;
  File<TBOBRAZA> a(store);
  a.rec.KONVEZA = GLO.KonVeza;
  if (a.open() || a.get("KEYIDENTIKATOR")) {
    out.message("Nema obrasca broj " + GLO.IdNastavak + " za firmu " + zeros(GLO.Firma, 3));
    return false;
  }
  return true;
}

}  // namespace kdm

namespace kdm {
namespace {

constexpr const char* kNotProcessed = "GREŠKA. OBVEZNIK NIJE USPJEŠNO OBRAĐEN";

// Opens `file` exclusively; when that fails reports `failure` and goes on
// with a shared open, as the processing does. Other runs cannot hold the
// file here: the run holds it against them from its start.
void openExclusively(RecordFile& file, const std::string& failure, Reporter& out) {
  if (file.open(OpenMode::Exclusive)) {
    out.message(failure);
    file.open(OpenMode::Shared);
  }
}

std::string digitsOr(const std::string& value, std::size_t width) {
  return numeric(value) ? value : std::string(width, '0');
}

// A failed run: the message box, and the status line that says the
// obligor was not processed. Nothing of the run stays (the RunUnit rolls
// it back).
bool failRun(Globals& GLO, Reporter& out, const std::string& message) {
  if (!message.empty()) out.message(message);
  out.status(kNotProcessed);
  GLO.Status = 1;
  return false;
}

// The person count and the totals of page A must fit the form record of
// the submission file (and the page-A record) whole.
bool formFits(const TBOBRAZA& a, const LabelDef& def, Reporter& out) {
  if (a.BROJOSIG > 99999) {
    out.message("Greška. Obrazac ima " + std::to_string(a.BROJOSIG) +
                " osiguranika, a datoteka prima najviše 99999. Podijelite obračun na više obrazaca");
    return false;
  }
  Record r(def);
  toRecord(a, r);
  static const char* const names[] = {"III.1", "III.2", "III.3", "III.4", "III.5"};
  const int first = def.fieldIndex("IZNOS7");
  for (int i = 0; i < 5; ++i) {
    if (checkFits(r, first + i)) {
      out.message(std::string("Greška. Zbroj ") + names[i] + " = " + r.format(first + i) +
                  " ne stane u polje obrasca. Podijelite obračun na više obrazaca");
      return false;
    }
  }
  return true;
}

// The submission file of the form, its hash, the obligor's copy staged,
// the collective list and the control number, then the run's commit.
bool finishSubmission(Globals& GLO, DataStore& store, const APLPARAM& apl, DeliveryMode mode, const TBPOSLOD& pos,
                      const TBOBRAZA& a, FormSource source, RunUnit& run, Reporter& out) {
  const bool payroll = source == FormSource::Payroll;
  SubmissionWriter writer(store, out, payroll ? SignStyle::Plus : SignStyle::Zero);
  if (writer.begin()) {
    writer.writeHeader(apl, GLO.DatSlanja);
    writer.writeForm(a);
    File<TBOSIGUR> osi(store);
    osi.open();
    osi.rec.KONVEZA = GLO.KonVeza;
    osi.set("KEYOBRGODMJE");
    while (!osi.next() && sameText(osi.rec.KONVEZA, GLO.KonVeza)) writer.writeInsured(osi.rec);
    writer.writeFormTrailer(a, GLO.DatSlanja);
    writer.writeFileTrailer(apl, GLO.DatSlanja);
  }
  // An incomplete file is neither hashed nor delivered.
  Error written = faultPoint("form.file");
  if (!writer.finish() || written) return failRun(GLO, out, written ? "Greška " + written.text : "");
  std::string error;
  auto hash = doSHAOnFile(writer.path(), &error);
  if (!hash) return failRun(GLO, out, "Greška kod određivanja SHA broja " + writer.path() + " " + error);
  if (Error copy = run.stage(writer.path(), GLO.ImeDatoteke)) {
    std::string text = payroll ? "Greška, file: " + GLO.ImeDatoteke + " Error=" + copy.text
                               : "Greška pri formiranju datoteke " + copy.text;
    out.status(text);
    return failRun(GLO, out, text);
  }
  out.status("Obrada je završena i određen SHA broj");
  bool emptyFirst = mode == DeliveryMode::Single || GLO.IzborPosla == kNewFile;
  if (!addToCollectiveList(store, out, emptyFirst, pos, GLO.KonVeza, GLO.ImeDatoteke)) return failRun(GLO, out, "");
  if (!storeControlNumber(store, out, GLO.KonVeza, GLO.Identifikator, *hash)) return failRun(GLO, out, "");
  if (Error e = run.commit()) return failRun(GLO, out, "Greška " + std::to_string(e.code) + " " + e.text);
  GLO.Status = 2;
  out.status(payroll ? std::string("OBVEZNIK JE USPJEŠNO OBRAĐEN") : "OBVEZNIK JE USPJEŠNO OBRAĐEN-" + GLO.ImeDatoteke);
  if (mode == DeliveryMode::Collective && GLO.IzborPosla == kNewFile) GLO.IzborPosla = kAddToFile;
  return true;
}

}  // namespace

const std::vector<std::string>& formRunFiles(FormSource source) {
  static const std::vector<std::string> rows = {"TBVALTA", "TBOSIGUR", "TBOBRAZA", "TBTMPDAT"};
  static const std::vector<std::string> payroll = {"TBVALTA", "TBOSIGUR", "TBOBRAZA", "TBTMPDAT", "TBUPLATE", "TBGRESKE"};
  return source == FormSource::Payroll ? payroll : rows;
}

bool beginFormRun(Globals& GLO, RunUnit& run, FormSource source, Reporter& out) {
  Error e = run.hold(formRunFiles(source));
  if (!e) e = run.begin({GLO.ImeDatoteke});
  if (e) return failRun(GLO, out, e.text);
  return true;
}

bool processObligor(Globals& GLO, DataStore& store, DeliveryMode mode, Reporter& out) {
  GLO.Status = 0;
  APLPARAM apl;
  readParameters(store, apl);
  if (apl.JMBG == kPlaceholderJmbg) {
    refusePlaceholder(out);
    return false;
  }
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
  if (mode == DeliveryMode::None) {
    out.message("Obavezno izaberite način slanja podataka");
    return false;
  }
  if (charCount(trimRight(GLO.VrsUpl)) < 2) {
    out.message("Obavezno izaberite vrstu uplate");
    return false;
  }
  if (GLO.ZadBroj <= 0) {
    out.message("Obavezno upište broj identifikatora");
    out.focus("GLO:ZadBroj");
    return false;
  }

  if (GLO.VO == "30" && GLO.ZadBroj > 49) {
    out.message("Za VOB=30 red. broj unutar indetifikatora mora biti <50");
    out.focus("GLO:ZadBroj");
    return false;
  }
  if (GLO.VO == "31" && GLO.ZadBroj < 50) {
    out.message("Za VOB=31 red. broj unutar indetifikatora mora biti >=50");
    out.focus("GLO:ZadBroj");
    return false;
  }
  File<TBPOSLOD> pos(store);
  pos.rec.REDBROJ = GLO.Firma;
  Error posError = pos.open();
  if (!posError) posError = pos.get("KEYREDBROJ");
  buildFormNames(GLO, store, apl, posError ? std::string() : pos.rec.JMBG);
  if (posError) {
    out.message("Greška " + std::to_string(posError.code));
    return false;
  }

  // From here on the run is one unit: it changes nothing unless it ends
  // with its file delivered and its control number stored.
  RunUnit run(store);
  if (!beginFormRun(GLO, run, FormSource::EmployeeRows, out)) return false;
  out.status("Radim. Strpite se..");
  RecordFile osi(store, "TBOSIGUR");
  openExclusively(osi, "Greška pri otvaranju TBOSIGUR.DAT", out);
  const LabelDef& osiDef = osi.def();
  deleteFormRows(GLO, osi, out);
  File<TBZAPOSL> rad(store);
  rad.open();
  rad.rec.REDBROJ = GLO.Firma;
  rad.set("KEYRBRFIRME");
  long long read = 0, taken = 0, person = 0;
  bool refused = false;
  std::string previous = "0000000000000";
  TBOSIGUR b;
  Record bRecord(osiDef);
  while (!rad.next()) {
    const TBZAPOSL& r = rad.rec;
    ++read;
    if (r.JMBG != previous) ++person;
    previous = r.JMBG;
    if (r.REDBROJ != GLO.Firma || r.GODOBRA != GLO.ObrGodina || r.MJEOBRA != GLO.ObrMjesec ||
        r.ODDANA < GLO.DanOd || r.ODDANA > GLO.DanDo || r.DODANA < GLO.DanOd || r.DODANA > GLO.DanDo ||
        !sameText(r.VRSTAUPLA, GLO.VrsUpl))
      continue;
    out.status(r.PREZIME);
    b = TBOSIGUR{};
    b.RBOSOB = zeros(person % 100000, 5);
    b.VRSUPL = r.VRSTAUPLA;
    b.JMBG = r.JMBG;
    b.PREZIME = r.PREZIME;
    b.OPCINA = r.OPCINA;
    b.CLANDN = r.CLANDN;
    b.OSNOVA1 = r.OSNOVA1;
    b.OSNOVA3 = r.OSNOVA3;
    b.OBRRAZD1 = r.ODDANA;
    b.OBRRAZD2 = r.DODANA;
    b.IZNOS7 = r.IZNOS7;
    b.IZNOS8 = r.IZNOS8;
    b.IZNOS9 = r.IZNOS9;
    b.IZNOS10 = r.IZNOS10;
    b.IZNOS11 = r.IZNOS11;
    b.GODOBRA = GLO.ObrGodina;
    b.OBRMJE = GLO.ObrMjesec;
    b.IDENTIFIKATOR = GLO.Identifikator;
    b.KONVEZA = GLO.KonVeza;
    toRecord(b, bRecord);
    // A form never leaves out a row it was given: one that cannot be
    // stored stops the run after every row was tried.
    if (Error e = osi.insert(bRecord)) {
      out.message("Greška kod upisa " + std::to_string(e.code) + " " + std::string(trimRight(r.PREZIME)) + " " + e.text);
      refused = true;
      continue;
    }
    ++taken;
  }
  if (Error e = faultPoint("form.rows")) return failRun(GLO, out, "Greška " + e.text);
  if (taken == 0 && !refused) {
    out.status("Obrada prekinuta. Pročitano=" + blanks(read, 4) + " Preuzeto=" + blanks(taken, 5));
    return false;
  }
  if (refused) return failRun(GLO, out, "");
  osi.close();
  return completeForm(GLO, store, apl, mode, pos.rec, FormSource::EmployeeRows, run, out);
}

void buildFormNames(Globals& GLO, DataStore& store, const APLPARAM& apl, const std::string& obligorJmbg) {
  std::string outDir = outputDirectory(store, apl);
  GLO.ImeDatoteke = joinPath(outDir, submissionCopyName(GLO.Firma, GLO.ObrGodina, GLO.ZadBroj));
  GLO.DatotekaRM0 = joinPath(outDir, "VALTA.RM0");
  GLO.IdNastavak = identifierSuffix(GLO.VO, obligorJmbg, GLO.ObrGodina, GLO.ZadBroj);
  GLO.Identifikator = zeros(GLO.Firma, 3) + GLO.IdNastavak;
  GLO.KonVeza = GLO.Identifikator + GLO.VrsUpl;
}

void deleteFormRows(Globals& GLO, RecordFile& osi, Reporter& out) {
  const LabelDef& def = osi.def();
  const int oKONVEZA = def.fieldIndex("KONVEZA"), oVRSUPL = def.fieldIndex("VRSUPL"), oJMBG = def.fieldIndex("JMBG");
  Record row(def);
  row.setText(oKONVEZA, GLO.KonVeza);
  osi.set("KEYOBRGODMJE", &row);
  while (!osi.next(row) && sameText(row.text(oKONVEZA), GLO.KonVeza)) {
    if (GLO.VrsUpl == "99" && !sameText(row.text(oVRSUPL), "99")) continue;
    if (Error e = osi.erase(row)) {
      out.message("Greška " + std::to_string(e.code));
      continue;
    }
    out.status("Brišem " + GLO.IdNastavak + " MB " + row.text(oJMBG));
  }
}

bool completeForm(Globals& GLO, DataStore& store, const APLPARAM& apl, DeliveryMode mode, const TBPOSLOD& o,
                  FormSource source, RunUnit& run, Reporter& out) {
  RecordFile osi(store, "TBOSIGUR");
  osi.open();
  const LabelDef& osiDef = osi.def();
  const int oKONVEZA = osiDef.fieldIndex("KONVEZA"), oJMBG = osiDef.fieldIndex("JMBG");
  RecordFile aFile(store, "TBOBRAZA");
  openExclusively(aFile, "Greška pri otvaranju TBOBRAZA.DAT", out);
  TBOBRAZA a;
  a.IDENTIFIKATOR = GLO.Identifikator;
  a.VRSUPLA = GLO.VrsUpl;
  a.OBRMJE = zeros(GLO.ObrMjesec, 2);
  a.OBRGOD = zeros(GLO.ObrGodina, 4);
  a.KONVEZA = GLO.KonVeza;
  Record aRecord(aFile.def());
  toRecord(a, aRecord);
  bool exists = !aFile.get("KEYIDENTIKATOR", aRecord);
  std::int64_t aRowid = aRecord.rowid;
  a.BROJOSIG = 0;
  a.BROJSTRANA = 0;
  if (numeric(o.MB01) && (source == FormSource::EmployeeRows || o.MB01 != "00000000")) {
    a.MB01 = o.MB01;
    a.MB02 = numeric(o.MB02) ? o.MB02 : "0000";
  } else {
    a.MB01 = "00000000";
    a.MB02 = "0000";
  }
  a.JMBG = digitsOr(o.JMBG, 13);
  a.NAZIV = o.NAZIV;
  a.ADRESA = o.ADRESA;
  a.KONTAKT = o.KONTAKT;
  a.TELEFON = o.TELEFON;
  a.EMAI = o.EMAIL;
  a.VRSTOBVEZNIKA = o.VRSTOBVEZNIKA;
  a.KONZNAK.clear();
  a.GODPLA = zeros(GLO.GodIsplate, 4);
  a.MJEPLA = zeros(GLO.MjIsplate, 2);

  {
    Record row(osiDef);
    row.setText(oKONVEZA, GLO.KonVeza);
    osi.set("KEYOBRGODMJE", &row);
    const int i7 = osiDef.fieldIndex("IZNOS7");
    long long count = 0;
    std::string previous;
    while (!osi.next(row) && sameText(row.text(oKONVEZA), GLO.KonVeza)) {
      ++count;
      if (count % 10 == 0) out.status("Obrađeno " + blanks(count, 5));
      if (count == 1 || row.text(oJMBG) != previous) ++a.BROJOSIG;
      previous = row.text(oJMBG);
      a.IZNOS7 += row.decimal(i7);
      a.IZNOS8 += row.decimal(i7 + 1);
      a.IZNOS9 += row.decimal(i7 + 2);
      a.IZNOS10 += row.decimal(i7 + 3);
      a.IZNOS11 += row.decimal(i7 + 4);
      if (count % 12 == 0) ++a.BROJSTRANA;
    }
    if (count == 0) {
      out.status("Obrada prekinuta. Preuzeto 0 redaka");
      return false;
    }
    if (count % 12 != 0) ++a.BROJSTRANA;
    if (a.BROJSTRANA < 1) a.BROJSTRANA = 1;
  }
  a.KONZNAK = "1234567890-1234567890-1234567890-1234567890";
  for (Decimal* total : {&a.IZNOS7, &a.IZNOS8, &a.IZNOS9, &a.IZNOS10, &a.IZNOS11})
    if (total->isNegative()) *total = Decimal();
  if (!formFits(a, aFile.def(), out)) return failRun(GLO, out, "");
  toRecord(a, aRecord);
  aRecord.rowid = aRowid;
  if (Error e = exists ? aFile.put(aRecord) : aFile.add(aRecord)) {
    out.status("Greška " + std::to_string(e.code));
    return failRun(GLO, out, "Greška kod upisa TBOBRAZA.DAT " + e.text);
  }
  out.status("1. dio obrade završena. Formiram SHA broj");

  File<TBPOSLOD> pos(store);
  pos.open();
  pos.rec.REDBROJ = o.REDBROJ;
  if (!pos.get("KEYREDBROJ") && pos.rec.IDENTIFIKATOR < GLO.ZadBroj) {
    pos.rec.IDENTIFIKATOR = GLO.ZadBroj;
    if (Error e = pos.put()) return failRun(GLO, out, "Greška " + std::to_string(e.code) + " " + e.text);
  }
  if (Error e = faultPoint("form.pagea")) return failRun(GLO, out, "Greška " + e.text);
  aFile.close();
  osi.close();
  return finishSubmission(GLO, store, apl, mode, o, a, source, run, out);
}

}  // namespace kdm
