#include "submission/file_printout.h"

#include "data/run_unit.h"

#include <optional>

#include "platform/hash.h"
#include "platform/text.h"
#include "platform/textfile.h"
#include "app/parameters.h"
#include "submission/check_text.h"
#include "submission/fixed_layout.h"

namespace kdm {
namespace {

// A numeric field as a whole number within [low, high]; 0 when it is not
// numeric.
long long wholeWithin(std::string_view raw, long long low, long long high) {
  double v = numericValue(raw);
  if (!(v >= static_cast<double>(low))) return low;
  if (v > static_cast<double>(high)) return high;
  return static_cast<long long>(v);
}

std::string_view rawField(const SubmissionLine& line, const char* name) {
  const FixedField* f = submissionField(name);
  return line.raw().substr(f->position - 1, f->width);
}

Decimal amount(const SubmissionLine& line, const char* name) {
  return decodeAmount(rawField(line, name)).value_or(Decimal());
}

// Copies the chosen file to TBSLOG3.TXT and opens the copy; reports and
// returns false when it cannot.
// The copy is the work file TBSLOG3.TXT of the submission writer: `run`
// holds the writer's files meanwhile.
bool openCopy(DataStore& store, RunUnit& run, const std::string& path, TextFile& file, Reporter& out) {
  if (Error e = run.hold({"TBVALTA"})) {
    out.message(e.text);
    return false;
  }
  std::string copy = store.pathOf(findLabel("TBSLOG3")->diskName);
  if (copyForReading(path, copy)) {
    out.message("Greška kod preuzimanja " + path);
    return false;
  }
  if (Error e = file.openRead(copy, false)) {
    out.message("Greška kod preuzimanja " + path);
    return false;
  }
  return true;
}

std::string hashOf(const std::string& path) { return doSHAOnFile(path).value_or(std::string()); }

}  // namespace

TBOBRAZA pageAFromFormRecord(const SubmissionLine& form, const std::string& prefix, const std::string& hash) {
  TBOBRAZA a;
  std::string mmgg = form.field("KD3MMGG"), mboo = form.field("KD3MBOO"), igmm = form.field("KD3IGMM");
  a.IDENTIFIKATOR = prefix + form.field("KD3RBSU");
  a.VRSUPLA = form.field("KD3VROI");
  a.OBRMJE = std::string(leftChars(mmgg, 2));
  a.OBRGOD = std::string(midChars(mmgg, 2, 4));
  a.BROJOSIG = static_cast<std::int32_t>(wholeWithin(rawField(form, "KD3BROS"), INT32_MIN, INT32_MAX));
  a.BROJSTRANA = 0;
  a.MB01 = std::string(leftChars(mboo, 8));
  a.MB02 = std::string(midChars(mboo, 8, 4));
  a.JMBG = form.field("KD3MBGO");
  a.NAZIV = form.field("KD3NAOB");
  a.ADRESA = form.field("KD3ADOB");
  a.VRSTOBVEZNIKA = form.field("KD3VROB");
  a.IZNOS7 = amount(form, "KD3IBRT");
  a.IZNOS8 = amount(form, "KD3IOSN");
  a.IZNOS9 = amount(form, "KD3IST1");
  a.IZNOS10 = amount(form, "KD3IST2");
  a.IZNOS11 = amount(form, "KD3INET");
  a.KONZNAK = hash.empty() ? std::string() : controlNumber(hash);
  a.KONVEZA = fitWidth(a.IDENTIFIKATOR, 7) + a.VRSUPLA;
  a.GODPLA = std::string(leftChars(igmm, 4));
  a.MJEPLA = std::string(midChars(igmm, 4, 2));
  return a;
}

bool preparePageAFromFile(Globals& GLO, DataStore& store, const std::string& path, Reporter& out) {
  std::string hash = hashOf(path);
  APLPARAM apl;
  readParameters(store, apl);
  RunUnit run(store);
  TextFile file;
  if (!openCopy(store, run, path, file, out)) return false;
  std::string buf;
  while (file.readLine(buf)) {
    SubmissionLine line(buf);
    if (line.type() != '3') {
      if (!hash.empty()) out.status(controlNumber(hash));
      continue;
    }
    File<TBOBRAZA> a(store);
    if (Error e = a.open()) {
      out.message("Greška kod otvaranja TBOBRAZA.DAT " + e.text);
      return false;
    }
    TBOBRAZA page = pageAFromFormRecord(line, "888", hash);
    page.KONTAKT = "KONTAKT";
    // The record of an earlier print of this serial and type gives way.
    Transaction tx(store.db());
    a.rec.KONVEZA = page.KONVEZA;
    if (Error e = a.get("KEYIDENTIKATOR"))
      out.message("Nije pronađen identifikattor " + e.text);
    else if (Error d = a.remove())
      out.message("Greška kod brisanja TBOBRAZA.DAT " + d.text);
    a.clear();
    a.setRowid(0);
    a.rec = page;
    Error e = a.add();
    if (!e) e = tx.commit();
    if (e) {
      out.message("Greška kod upisa TBOBRAZA.DAT " + e.text);
      return false;
    }
    GLO.KonVeza = a.rec.KONVEZA;
    GLO.IspisKB = "D";
    return true;
  }
  return false;
}

bool preparePageBFromFile(Globals& GLO, DataStore& store, const std::string& path, TBOBRAZA& pageA, Reporter& out) {
  out.status("Malo strpljenja. Pripremam B stranice ....");
  std::string hash = hashOf(path);
  APLPARAM apl;
  readParameters(store, apl);
  RunUnit run(store);
  TextFile file;
  if (!openCopy(store, run, path, file, out)) return false;

  File<TBOSIGU1> osi(store);
  if (Error e = osi.open(OpenMode::Exclusive)) {
    out.message("Greška kod otvaranja TBOSIGU1.DAT " + e.text);
    return false;
  }
  Transaction tx(store.db());
  if (Error e = osi.empty()) {
    out.message("Greška kod pražnjenja TBOSIGU1.DAT " + e.text);
    return false;
  }
  auto add = [&]() {
    osi.setRowid(0);
    if (Error e = osi.add()) {
      out.message("Greška kod upisa TBOSIGU1.DAT " + e.text);
      return false;
    }
    return true;
  };

  // Only the first form: its trailer, or the next form, ends the reading.
  bool haveForm = false;
  int rows = 0;
  std::string buf;
  while (file.readLine(buf)) {
    SubmissionLine line(buf);
    if (line.type() == '3') {
      if (haveForm) break;
      pageA = pageAFromFormRecord(line, "999", hash);
      haveForm = true;
    } else if (line.type() == '7' && haveForm) {
      break;
    } else if (line.type() == '5' && haveForm) {
      std::string osob = line.field("KD5OSOB");
      std::string_view razd = rawField(line, "KD5RAZD");
      TBOSIGU1& r = osi.rec;
      r = TBOSIGU1{};
      r.JMBG = line.field("KD5MBGO");
      r.PREZIME = line.field("KD5IMPR");
      r.OPCINA = line.field("KD5GROP");
      r.OSNOVA1 = std::string(leftChars(osob, 2));
      r.OSNOVA3 = std::string(midChars(osob, 2, 1));
      r.OBRRAZD1 = static_cast<std::int16_t>(wholeWithin(razd.substr(0, 2), -99, 99));
      r.OBRRAZD2 = static_cast<std::int16_t>(wholeWithin(razd.substr(2, 2), -99, 99));
      r.IZNOS7 = amount(line, "KD5IBRT");
      r.IZNOS8 = amount(line, "KD5IOSN");
      r.IZNOS9 = amount(line, "KD5IST1");
      r.IZNOS10 = amount(line, "KD5IST2");
      r.IZNOS11 = amount(line, "KD5INET");
      r.IDENTIFIKATOR = pageA.IDENTIFIKATOR;
      r.VRSUPL = pageA.VRSUPLA;
      r.KONVEZA = pageA.KONVEZA;
      if (!add()) return false;
      ++rows;
    }
  }
  if (!haveForm) {
    tx.commit();
    return false;
  }
  // Whole pages of twelve rows.
  for (int pad = 1; rows % kRowsPerPageB != 0; ++pad, ++rows) {
    osi.rec = TBOSIGU1{};
    osi.rec.IDENTIFIKATOR = pageA.IDENTIFIKATOR;
    osi.rec.KONVEZA = pageA.KONVEZA;
    osi.rec.JMBG = "99999999999" + padLeft(std::to_string(pad), 2, '0');
    if (!add()) return false;
  }
  if (Error e = tx.commit()) {
    out.message("Greška kod upisa TBOSIGU1.DAT " + e.text);
    return false;
  }

  GLO.IdObrasca = std::string(midChars(fitWidth(pageA.IDENTIFIKATOR, 7), 3, 4));
  if (!sameText(pageA.JMBG, "0000000000000"))
    GLO.MbObveznika = std::string(trimRight(pageA.JMBG));
  else
    GLO.MbObveznika = pageA.MB01 + (sameText(pageA.MB02, "0000") ? std::string(" ") : pageA.MB02);
  GLO.KonVeza = std::string(trimRight(pageA.KONVEZA));
  GLO.IspisKB = "D";
  out.status("Gotova priprema. Ispis...");
  return true;
}

}  // namespace kdm
