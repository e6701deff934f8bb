#include "submission/formal_check.h"

#include "checks/checks.h"
#include "controls/control_range.h"
#include "data/run_unit.h"
#include "platform/fault.h"
#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/hash.h"
#include "platform/text.h"
#include "app/parameters.h"
#include "submission/check_text.h"

namespace kdm {
namespace {

constexpr const char* kPlaceholderJmbg = "1111111111111";
constexpr const char* kFileField = "LOC:Datoteka";  // the entry "Traži se izlazna datoteka"
constexpr std::string_view kZeros8 = "00000000", kZeros12 = "000000000000", kZeros13 = "0000000000000";
// A contribution may differ from the one the rates give by this much.
constexpr Decimal kTolerance = Decimal::fromInt(300);

// Where a field lies in the 250 bytes of a record.
struct Pos {
  std::size_t at, width;
  std::string_view of(std::string_view raw) const { return raw.substr(at, width); }
};

Pos pos(const char* name) {
  const FixedField* f = submissionField(name);
  return {f->position - 1, f->width};
}

std::size_t length(std::string_view s) { return trimRight(s).size(); }

std::string utf8(std::string_view raw) { return cp1250ToUtf8(raw); }

// Store keys compare without trailing blanks and without letter case.
std::string fold(std::string_view text) {
  text = trimRight(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c);
      ++i;
    } else {
      appendUtf8(out, foldCase(decodeUtf8(text, i)));
    }
  }
  return out;
}

// A key of several components; each is length-prefixed, so no component's
// content can be mistaken for a separator.
void addPart(std::string& key, std::string_view part) {
  std::string f = fold(part);
  key += std::to_string(f.size());
  key += ':';
  key += f;
}

template <class... Parts>
std::string compositeKey(Parts... parts) {
  std::string key;
  (addPart(key, parts), ...);
  return key;
}

template <class T, class Fn>
Error readAll(DataStore& store, const char* key, Fn fn) {
  File<T> f(store);
  if (Error e = f.open()) return e;
  if (Error e = f.setStart(key)) return e;
  Error e;
  while (!(e = f.next())) fn(f.rec);
  return e.kind() == ErrorCode::NoMoreRecords ? ok() : e;
}

// A whole number read from numeric text, truncated and held within the
// range of an int, so that no text makes an arithmetic overflow.
long long wholeValue(std::string_view s) {
  double v = numericValue(s);
  if (!(v > -1e9)) return -1000000000LL;
  if (v > 1e9) return 1000000000LL;
  return static_cast<long long>(v);
}

Decimal amountOf(std::string_view raw15) { return decodeAmount(raw15).value_or(Decimal()); }

Decimal abs(Decimal d) { return d.isNegative() ? -d : d; }


std::string codeText(const std::string& code) { return std::string(trimRight(code)); }

}  // namespace

// ------------------------------------------------------------ CheckTables

Error CheckTables::load(DataStore& store) {
  obligorKinds_.clear();
  paymentKinds_.clear();
  bases_.clear();
  serviceMarks_.clear();
  municipalities_.clear();
  rates_.clear();
  matrix_.clear();
  // Read in key order and keep the first of equal keys, as a read by key does.
  if (Error e = readAll<TBVRSOBV>(store, "KEYSIFRA", [&](const TBVRSOBV& r) { obligorKinds_.emplace(fold(r.SIFRA), r); }))
    return e;
  if (Error e = readAll<TBVRSUPL>(store, "KEYSIFRA", [&](const TBVRSUPL& r) { paymentKinds_.emplace(fold(r.SIFRA), true); }))
    return e;
  if (Error e = readAll<TBOSNOBR>(store, "KEYSIFRA", [&](const TBOSNOBR& r) { bases_.emplace(fold(r.SIFRA), true); }))
    return e;
  if (Error e = readAll<TBOZNSTA>(store, "KEYSIFRA", [&](const TBOZNSTA& r) { serviceMarks_.emplace(fold(r.SIFRA), true); }))
    return e;
  if (Error e = readAll<TBOPCINE>(store, "KEYSIFRA", [&](const TBOPCINE& r) { municipalities_.emplace(fold(r.SIFRA), true); }))
    return e;
  if (Error e = readAll<TBSTOPE>(store, "KEYOSNOV", [&](const TBSTOPE& r) {
        rates_.emplace(compositeKey(r.VRSTOBRACUNA, r.VRSTAOBVEZNIKA, r.OSNOVOBRA, r.STAZ, r.CLANDN), r);
      }))
    return e;
  return readAll<VEZNATAB>(store, "KEYVOB_VOI",
                           [&](const VEZNATAB& r) { matrix_.emplace(compositeKey(r.VOB, r.VOI, r.OO), r); });
}

const TBVRSOBV* CheckTables::obligorKind(std::string_view vob) const {
  auto it = obligorKinds_.find(fold(vob));
  return it == obligorKinds_.end() ? nullptr : &it->second;
}
bool CheckTables::paymentKind(std::string_view voi) const { return paymentKinds_.count(fold(voi)) != 0; }
bool CheckTables::basis(std::string_view oo) const { return bases_.count(fold(oo)) != 0; }
bool CheckTables::serviceMark(std::string_view mark) const { return serviceMarks_.count(fold(mark)) != 0; }
bool CheckTables::municipality(std::string_view code) const { return municipalities_.count(fold(code)) != 0; }

const TBSTOPE* CheckTables::rate(std::string_view voi, std::string_view vob, std::string_view oo,
                                 std::string_view staz, std::string_view clandn) const {
  auto it = rates_.find(compositeKey(voi, vob, oo, staz, clandn));
  return it == rates_.end() ? nullptr : &it->second;
}

const VEZNATAB* CheckTables::matrix(std::string_view vob, std::string_view voi, std::string_view oo) const {
  auto it = matrix_.find(compositeKey(vob, voi, oo));
  return it == matrix_.end() ? nullptr : &it->second;
}

// ---------------------------------------------------------- RecordChecker

// The record being checked and where its findings go.
struct RecordChecker::Context {
  std::int64_t number;
  std::string_view raw;
  std::vector<Finding>& out;
  const std::string* name;     // the name column, when it is known already
  std::string_view nameMbg;    // else built from these two fields (insured person)
  std::string_view nameText;
  std::string built;

  std::string_view operator[](const Pos& p) const { return p.of(raw); }

  void add(std::string_view column, char type, std::string message) {
    if (!name) {
      built = utf8(nameMbg) + " " + utf8(nameText);
      name = &built;
    }
    Finding f;
    f.record = number;
    f.column = std::string(leftChars(column, 10));
    f.type = type;
    f.name = *name;
    f.message = std::move(message);
    out.push_back(std::move(f));
  }
};

RecordChecker::RecordChecker(Globals& glo, const CheckTables& tables, Date today)
    : GLO(glo), tables_(tables), today_(today), first_(*Date::fromYmd(2005, 1, 1)) {}

void RecordChecker::check(std::int64_t number, const SubmissionLine& line, std::vector<Finding>& findings) {
  Context c{number, line.raw(), findings, nullptr, {}, {}, {}};
  switch (line.type()) {
    case '0': header(c); break;
    case '3': form(c); break;
    case '5': insured(c); break;
    case '7': formTrailer(c); break;
    case '9': fileTrailer(c); break;
    default: {
      // Not a record of a submission file at all (text, zeros, random
      // bytes): one error and nothing else, so such a file never reads as clean.
      static const std::string kNoName;
      c.name = &kNoName;
      c.add("TIPSLOGA", 'F', "Nepoznat tip sloga");
      break;
    }
  }
}

namespace {

// DDMMYYYY between 1 January 2005 and today; a day that does not exist is
// never in range.
bool inRange(std::string_view raw8, Date first, Date last) {
  auto d = decodeDate(raw8);
  return d && first <= *d && *d <= last;
}

bool mbFails(Globals& GLO, std::string_view mb12) {
  std::string_view mb8 = mb12.substr(0, 8);
  return mb8 != kZeros8 && !MbCheck(GLO, mb8);
}

bool startsWith8or9(std::string_view s) { return !s.empty() && (s[0] == '8' || s[0] == '9'); }

}  // namespace

void RecordChecker::header(Context& c) {
  static const Pos MBOO = pos("KD0MBOO"), MBGO = pos("KD0MBGO"), NAOB = pos("KD0NAOB"), ADOB = pos("KD0ADOB"),
                   OSOB = pos("KD0OSOB"), DTMN = pos("KD0DTMN"), OFOR = pos("KD0OFOR");
  static const std::string kName = "Slog tipa 0";
  c.name = &kName;
  std::string_view mboo = c[MBOO], mbgo = c[MBGO], dtmn = c[DTMN];
  if (!isNumeric(mboo) || length(mboo) < 12) c.add("KD0MBOO", 'F', "MB ovlaštene osobe mora biti numerik");
  if (mbFails(GLO, mboo)) c.add("KD0MBOO", 'F', "MB ovlaštene osobe nije točan po modulu 11");
  if (!isNumeric(mbgo) || length(mbgo) < 13) c.add("KD0MBGO", 'F', "MBG ovlaštene osobe mora biti numerik");
  if (mbgo != kZeros13 && !MbgCheck(GLO, mbgo)) c.add("KD0MBGO", 'F', "MBG ovlaštene osobe nije točan po modulu 11");
  if (isBlank(c[NAOB])) c.add("KD0NAOB", 'U', "Naziv ili prezime i ime ovlaštene osobe mora biti popunjeno");
  if (isBlank(c[ADOB])) c.add("KD0ADOB", 'U', "Adresa ovlaštene osobe mora biti popunjena");
  if (isBlank(c[OSOB])) c.add("KD0OSOB", 'U', "Osoba za kontakt mora biti popunjena");
  if (!isNumeric(dtmn) || length(dtmn) < 8) c.add("KD0DTMN", 'F', "Datum nije numerik=" + utf8(dtmn));
  if (!inRange(dtmn, first_, today_)) c.add("KD0DTMN", 'F', "Pogrešan datum slanja sloga");
  if (c[OFOR] != kFormatMark) c.add("RM0OFOR", 'U', "Pogrešna oznaka formata ");
}

void RecordChecker::form(Context& c) {
  static const Pos MBOO = pos("KD3MBOO"), MBGO = pos("KD3MBGO"), RBSU = pos("KD3RBSU"), NAOB = pos("KD3NAOB"),
                   ADOB = pos("KD3ADOB"), VROB = pos("KD3VROB"), MMGG = pos("KD3MMGG"), VROI = pos("KD3VROI"),
                   BROS = pos("KD3BROS"), IGMM = pos("KD3IGMM");
  static const Pos AMOUNTS[5] = {pos("KD3IBRT"), pos("KD3IOSN"), pos("KD3IST1"), pos("KD3IST2"), pos("KD3INET")};
  static const char* const kColumns[5] = {"KD3IBRT", "KD3IOSN", "KD3IST1", "KD3IST2", "KD3INET"};
  static const char* const kNotNumeric[5] = {
      "Obračunati mjesečni iznos mora biti numerik", "Osnovica za obračun doprinosa mora biti numerik",
      "Doprinos za I. stup mora biti numerik", "Doprinos za II. stup mora biti numerik",
      "Iznos neto isplate mora biti numerik"};

  insured_ = 0;
  formName_ = utf8(c[NAOB]);
  c.name = &formName_;
  std::string_view mboo = c[MBOO], mbgo = c[MBGO], mmgg = c[MMGG], vrob = c[VROB], vroi = c[VROI];

  if (isNumeric(mboo) && length(mboo) == 12) {
    if (mbFails(GLO, mboo)) c.add("KD3MBOO", 'F', "MB obveznika nije točan po modulu 11");
  } else {
    c.add("KD3MBOO", 'F', "MB obveznika mora biti numerik");
  }
  if (!isNumeric(mbgo) || length(mbgo) < 13)
    c.add("KD3MBGO", 'F', "MBG obveznika mora biti numerik");
  else if (mbgo != kZeros13 && !MbgCheck(GLO, mbgo))
    c.add("KD3MBGO", 'F', "MBG obveznika nije točan po modulu 11");
  bool periodNumeric = isNumeric(mmgg) && length(mmgg) == 6;
  if (periodNumeric) {
    if (wholeValue(mmgg.substr(2, 4)) < 2005)
      c.add("KD3MMGG", 'F', "Tip sloga 3. - Obračunska godina mora biti veća od 2004.");
  } else {
    c.add("KD3MMGG", 'F', "Tip sloga 3. - obračunska godina i mjesec nisu numerik");
  }
  std::string_view igmm = c[IGMM];
  if (!isNumeric(igmm) || length(igmm) < 6)
    c.add("KD3IGMM", 'F', "Tip sloga 3. - Godina i mjesec isplate mora biti numerik");
  bool embassy = vrob == "17";  // obligor type 17 may carry any MB and MBG
  if (!embassy && mboo != kZeros12 && mbgo != kZeros13 && !startsWith8or9(mboo))
    c.add("KD3MBGO", 'F', "Nije dozvoljeno upisati MB i MBG obveznika, izuzev ako MB firme počinje sa 8 ili 9 ");
  if (isBlank(c[NAOB])) c.add("KD3NAOB", 'F', "Naziv ili prezime i ime obveznika osobe ne smije biti prazna");
  if (isBlank(c[ADOB])) c.add("KD3ADOB", 'U', "Adresa obveznika ne smije biti prazna");
  const TBVRSOBV* kind = tables_.obligorKind(utf8(vrob));
  if (!kind) {
    c.add("KD3VROB", 'F', "Nepoznata vrsta obveznika");
  } else if (!embassy) {
    bool noMb = mboo == kZeros12 || isBlank(mboo);
    bool noMbg = mbgo == kZeros13 || isBlank(mbgo);
    if (sameText(kind->MB01, "DA") && (mboo.substr(0, 8) == kZeros8 || isBlank(mboo)))
      c.add("KD3MBOO", 'F', "MB pravne osobe mora biti upisan");
    if (sameText(kind->MBG, "DA") && noMbg) c.add("KD3MBOO", 'F', "MB pravne osobe mora biti upisan");
    if (!noMb && !noMbg && !startsWith8or9(mboo) && vrob != "02" && vrob != "21")
      c.add("KD3MBOO", 'F', "MB i MBG mogu biti upisani samo za VOB=02 i ako MB počine sa 8 ili 9, VOB nije 02 i 21");
  }
  if (!isNumeric(mmgg) || length(mmgg) < 6) c.add("KD3MMGG", 'F', "Mjesec i godina nisu numerik");
  if (!tables_.paymentKind(utf8(vroi))) c.add("KD3VROI", 'F', "Nepoznata vrsta uplate");
  std::string_view bros = c[BROS];
  if (!isNumeric(bros) || length(bros) < 5) c.add("KD3BROS", 'F', "Broj osiguranika mora biti numerik");
  for (int i = 0; i < 5; ++i) {
    std::string_view digits = c[AMOUNTS[i]].substr(1);
    if (!isNumeric(digits) || length(digits) < 14) c.add(kColumns[i], 'F', kNotNumeric[i]);
  }

  // The form's totals now stand against the sums of its insured persons.
  for (int i = 0; i < 5; ++i) {
    totals_[i] = amountOf(c[AMOUNTS[i]]);
    sums_[i] = 0;
    perPerson_[i] = Decimal();
  }
  lastMbg_.clear();
  vob_ = utf8(vrob);
  voi_ = utf8(vroi);
  codes_.valid = false;
  rbsu_ = std::string(c[RBSU]);
  month_ = wholeValue(mmgg.substr(0, 2));
  year_ = wholeValue(mmgg.substr(2, 4));
  ++forms_;
}

void RecordChecker::insured(Context& c) {
  static const Pos MBGO = pos("KD5MBGO"), IMPR = pos("KD5IMPR"), GROP = pos("KD5GROP"), OSOB = pos("KD5OSOB"),
                   RAZD = pos("KD5RAZD");
  static const Pos AMOUNTS[5] = {pos("KD5IBRT"), pos("KD5IOSN"), pos("KD5IST1"), pos("KD5IST2"), pos("KD5INET")};
  static const char* const kColumns[5] = {"KD5IBRT", "SL5:KD5IOSN", "KD5IST1", "KD5IST2", "KD5INET"};
  static const char* const kNotNumeric[5] = {
      "Obračunati mjesečni iznos mora biti numerik", "Osnovica za obračun doprinosa za MO mora biti numerik",
      "Uplaćeni iznos za doprinose za MO I. stup mora biti numerik",
      "Uplaćeni iznos doprinosa za MO II. stup mora biti numerik", "Neto iznos mora biti numerik"};

  ++insured_;
  std::string_view mbgo = c[MBGO], osob = c[OSOB], razd = c[RAZD], grop = c[GROP];
  c.nameMbg = mbgo;
  c.nameText = c[IMPR];

  Decimal a[5];
  for (int i = 0; i < 5; ++i) a[i] = amountOf(c[AMOUNTS[i]]);
  // A person's further rows may leave at zero what an earlier row carried.
  if (mbgo != lastMbg_)
    for (Decimal& v : perPerson_) v = Decimal();
  for (int i = 0; i < 5; ++i)
    if (a[i] > Decimal()) perPerson_[i] = a[i];
  lastMbg_.assign(mbgo);

  // Rows of a form mostly repeat the codes of the row before: the lookups
  // are made again only when the codes change.
  bool member = a[3] > Decimal();
  if (!codes_.valid || codes_.osob != osob || codes_.member != member) {
    std::string oo = utf8(osob.substr(0, 2)), staz = utf8(osob.substr(2, 1));
    codes_.valid = true;
    codes_.osob.assign(osob);
    codes_.member = member;
    codes_.basis = tables_.basis(oo);
    codes_.mark = tables_.serviceMark(staz);
    codes_.rate = tables_.rate(voi_, vob_, oo, staz, member ? "D" : "N");
    codes_.matrix = tables_.matrix(vob_, voi_, oo);
  }
  if (grop != lastGrop_) {
    lastGrop_.assign(grop);
    municipalityKnown_ = tables_.municipality(utf8(grop));
  }

  bool mbgNumeric = isNumeric(mbgo);
  if (mbgNumeric && !MbgCheck(GLO, mbgo)) c.add("KD5MBGO", 'F', "MBG osiguranika nije točan po modulu 11");
  if (!mbgNumeric) c.add("KD5MBGO", 'F', "MBG osiguranika mora biti numerik");
  if (isBlank(c[IMPR])) c.add("KD5IMPR", 'U', "Prezime i ime osiguranika je obavezan podatak");
  if (!municipalityKnown_) c.add("KD5GROP", 'U', "Nepoznata općina osiguranika");
  if (!codes_.basis) c.add("KD5OSOB", 'F', "Pogrešna osnova osiguranja");
  if (!codes_.mark) c.add("KD5OSOB", 'F', "Pogrešna oznaka uvećanog staža");
  for (int i = 0; i < 5; ++i)
    if (!isNumeric(c[AMOUNTS[i]].substr(1))) c.add(kColumns[i], 'F', kNotNumeric[i]);

  // The contributions the rates give for this row.
  Decimal expected1, expected2;
  if (const TBSTOPE* sto = codes_.rate) {
    expected1 = a[1].percent(sto->PRVISTUP1 + sto->PRVISTUP2);
    expected2 = a[1].percent(sto->DRUGISTUP1 + sto->DRUGISTUP2);
  }
  Decimal expectedTotal = expected1 + expected2;

  // The bounds of the control matrix. Without a row of its own the
  // combination has no bounds, and another combination's are not checked
  // against it.
  const VEZNATAB* vez = codes_.matrix;
  if (!vez) c.add("KD5OSOB", 'F', "Tip sloga 5. Pogrešan OO za obveznika = " + vob_ + " VOI=" + voi_);
  if (vez && loaded_ != vez) {
    ControlRangeLoad(GLO, *vez);
    loaded_ = vez;
  }
  const ControlRanges& r = GLO.Ranges;
  auto where = [&] { return " Provjerite kontrolnu tablicu za VOB=" + vez->VOB + " VOI=" + vez->VOI + " OO=" + vez->OO; };
  auto outside = [&](int i, const Bounds& b) {
    if (!vez || b.allows(a[i])) return false;
    bool excused = b.low > Decimal() && a[i].isZero() && perPerson_[i] > Decimal();
    return !excused;
  };
  auto dayWrong = [&](long long day, const Bounds& b) {
    if (!b.allows(day)) return true;
    return month_ >= 1 && !DayInMonthCheck(GLO, static_cast<int>(year_), static_cast<int>(month_), static_cast<int>(day));
  };

  if (vez && !r.OBRMJE.allows(month_))
    c.add("KD3MMGG", 'F', "Tip sloga 5. - obračunski mjesec mora biti " + codeText(vez->OBRMJE) + where());
  if (vez && dayWrong(wholeValue(razd.substr(0, 2)), r.DANOD))
    c.add("KD5RAZD", 'F', "Tip sloga 5. - Greška - razdoblje od mora biti " + codeText(vez->DANOD) + "." + where());
  if (vez && dayWrong(wholeValue(razd.substr(2, 2)), r.DANDO))
    c.add("KD5RAZD", 'F', "Tip sloga 5. - Greška - razdoblje do mora biti " + codeText(vez->DANDO) + "." + where());
  if (outside(0, r.IZNOS7))
    c.add("KD5IBRT", 'F', "Tip sloga 5. - Iznos obračunane plaće (IV.7) mora biti " + codeText(vez->IZNOS7) + "." + where());
  if (outside(1, r.IZNOS8))
    c.add("KD5IOSN", 'F', "Tip sloga 5. - Osnovica za doprinose mora biti " + codeText(vez->IZNOS8) + "." + where());
  if (outside(2, r.IZNOS9))
    c.add("KD5IST1", 'F', "Tip sloga 5. - Iznos doprinosa za I. stup mora biti " + codeText(vez->IZNOS9) + "." + where());
  if (a[1] > Decimal() && a[2] > Decimal() && abs(a[2] - expected1) > kTolerance)
    c.add("KD5IST1", 'U',
          "Upozorenje - razlika u obračunatom doprinosu I. stupa: " + pictureN10_2(a[2]) + "  - " +
              pictureN10_2(expected1));
  if (outside(3, r.IZNOS10))
    c.add("KD5IST2", 'F', "Tip sloga 5. - Iznos doprinosa za II.stup mora biti " + codeText(vez->IZNOS10) + "." + where());
  if (a[1] > Decimal() && a[3] > Decimal() && abs(a[3] - expected2) > kTolerance)
    c.add("KD5IST2", 'F',
          "Tip sloga 5. - Postoji razlika u obračunu doprinosa :" + pictureN10_2(a[3]) + "  - " +
              pictureN10_2(expected2));
  if (a[1] > Decimal() && abs(a[2] + a[3] - expectedTotal) > kTolerance)
    c.add("KD5IST2", 'F',
          "Upozorenje - razlika o ukupno obračunatom doprinosu : " + pictureN10_2(a[2] + a[3]) + "  - " +
              pictureN10_2(expectedTotal));
  if (outside(4, r.IZNOS11))
    c.add("KD5INET", 'F', "Tip sloga 5. - Iznos isplaćene plaće mora biti " + codeText(vez->IZNOS11) + "." + where());

  for (int i = 0; i < 5; ++i) sums_[i] += a[i].units();
}

void RecordChecker::formTrailer(Context& c) {
  static const Pos MBOO = pos("KD7MBOO"), MBGO = pos("KD7MBGO"), RBSU = pos("KD7RBSU"), BRSL = pos("KD7BRSL"),
                   DTRS = pos("KD7DTRS");
  c.name = &formName_;
  std::string_view mboo = c[MBOO], mbgo = c[MBGO], brsl = c[BRSL], dtrs = c[DTRS];
  if (!isNumeric(mboo) || length(mboo) < 12) c.add("KD7MBOO", 'F', "MB obveznika nije numerik");
  if (mbFails(GLO, mboo)) c.add("KD7MBOO", 'F', "MB obveznika nije točan po modulu 11");
  bool mbgNumeric = isNumeric(mbgo) && length(mbgo) == 13;
  if (mbgNumeric && !MbgCheck(GLO, mbgo)) c.add("KD7MBGO", 'F', "MBG obveznika nije točan po modulu 11");
  if (!mbgNumeric) c.add("KD7MBGO", 'F', "MBG obveznika mora biti numerik");
  if (!sameText(c[RBSU], rbsu_)) c.add("KD7RBSU", 'F', "Identifikator nije jednak Identifikatoru u slogu tipa 3");
  bool countNumeric = isNumeric(brsl) && length(brsl) == 5;
  if (countNumeric && numericValue(brsl) != static_cast<double>(insured_))
    c.add("KD7BRSL", 'F',
          "Broj slogova tipa 5 nije jednak broju upisanih slogova " + padLeft(numberText(brsl), 5) + " " +
              padLeft(std::to_string(insured_), 5));
  if (!countNumeric) c.add("KD7BRSL", 'F', "Broj slogova nije numerik");
  if ((isNumeric(dtrs) || length(dtrs) < 8) && !inRange(dtrs, first_, today_))
    c.add("KD7DTRS", 'F', "Datum formiranja je pogrešan");
  if (length(dtrs) == 8 && !isNumeric(dtrs)) c.add("KD7DTRS", 'F', "Pogrešan datum formiranja ");

  auto total = [&](int i) { return static_cast<__int128>(totals_[i].units()); };
  if (total(0) != sums_[0])
    c.add("KD3DIOI", 'U',
          "Zbroj III.1 ne odgovara sumi IV.7 tj. III.1=" + pictureN15_4(total(0)) + " - Suma IV.7=" +
              pictureN15_4(sums_[0]));
  if (total(1) != sums_[1])
    c.add("KD3IOSN", 'F',
          "Zbroj III.2 ne odgovara sumi IV.8 tj. III.2=" + pictureN15_4(total(1)) + " - Suma IV.8=" +
              pictureN15_4(sums_[1]));
  if (total(2) != sums_[2])
    c.add("KD3IST1", 'F',
          "Zbroj III.3 ne odgovara sumi IV.9 tj. III.3=" + pictureN15_2(total(2)) + " - Suma IV.9=" +
              pictureN15_2(sums_[2]));
  if (total(3) != sums_[3])
    c.add("KD3IST2", 'F',
          "Zbroj III.4 ne odgovara sumi IV.10 tj. III.4=" + pictureN15_2(total(3)) + " - Suma IV.10=" +
              pictureN15_2(sums_[3]));
  if (total(4) != sums_[4])
    c.add("KD3INET", 'F',
          "Zbroj III.5 ne odgovara sumi IV.11 tj. III.5=" + pictureN15_2(total(4)) + " - Suma IV.11=" +
              pictureN15_2(sums_[4]));
}

void RecordChecker::fileTrailer(Context& c) {
  static const Pos MBOO = pos("KD9MBOO"), MBGO = pos("KD9MBGO"), DTMN = pos("KD9DTMN"), BROJ = pos("KD9BROJ");
  c.name = &formName_;
  std::string_view mboo = c[MBOO], mbgo = c[MBGO], dtmn = c[DTMN], broj = c[BROJ];
  if (!isNumeric(mboo) || length(mboo) < 12) c.add("KD9MBOO", 'F', "MB ovlaštene osobe nije numerik");
  if (mbFails(GLO, mboo)) c.add("KD9MBOO", 'F', "MB ovlaštene osobe nije točan po modulu 11");
  bool mbgNumeric = isNumeric(mbgo) && length(mbgo) == 13;
  if (mbgNumeric && !MbgCheck(GLO, mbgo)) c.add("KD9MBGO", 'F', "MBG obveznika nije točan po modulu 11");
  if (!mbgNumeric) c.add("KD9MBGO", 'F', "MBG ovlaštene osobe mora biti numerik");
  if ((isNumeric(dtmn) || length(dtmn) < 8) && !inRange(dtmn, first_, today_))
    c.add("KD9DTMN", 'F', "Pogrešan datum formiranja sloga");
  if (length(dtmn) == 8 && !isNumeric(dtmn)) c.add("KD9DTMN", 'F', "Pogrešan datum formiranja sloga");
  bool countNumeric = isNumeric(broj) && length(broj) == 6;
  if (countNumeric && numericValue(broj) != static_cast<double>(forms_))
    c.add("KD9BROJ", 'U', "Broj slogova tipa 3 nije identičan podatku KD9BROJ");
  if (!countNumeric) c.add("KD9BROJ", 'U', "Broj podataka nije numerik");
}

// ------------------------------------------------------------- the run

bool openFormalCheck(DataStore& store, std::string& defaultPath, Reporter& out) {
  APLPARAM apl;
  readParameters(store, apl);
  if (sameText(apl.JMBG, kPlaceholderJmbg)) {
    out.message("Ispravite podatke o ovlaštenoj osobi.| Ispavak izvršite kroz Servisi/Aplikacijski parametri");
    return false;
  }
  defaultPath = outputDirectory(store, apl);
  return true;
}

namespace {

// A reused record buffer of TBIZLAZ or TBIZLAZ1 with its field indices.
struct RecordRow {
  Record rec;
  explicit RecordRow(const RecordFile& file) : rec(file.blank()) {}
  int at(const char* name) const { return rec.index(name); }
};

void setTrimmed(Record& rec, int field, std::string text) {
  text.resize(trimRight(text).size());
  rec.setText(field, std::move(text));
}

}  // namespace

bool runFormalCheck(Globals& GLO, DataStore& store, const std::string& path, Reporter& out, CheckSummary* summary) {
  CheckSummary local;
  CheckSummary& result = summary ? *summary : local;
  result = CheckSummary{};

  APLPARAM apl;
  readParameters(store, apl);
  if (sameText(apl.JMBG, kPlaceholderJmbg)) {
    out.message("Ispravite podatke o ovlaštenoj osobi.| Ispravak izvršite kroz Servisi/Aplikacijski parametri");
    return false;
  }
  CheckTables tables;
  if (Error e = tables.load(store)) {
    out.message("Greška " + e.text);
    return false;
  }

  // No other run may copy its file to TBVALTA1.TXT or write the result
  // meanwhile; the old result is replaced by the new one in one commit, so
  // an interrupted run leaves the previous result whole, never the records
  // of one file without their findings.
  RunUnit run(store);
  if (Error e = run.hold({"TBVALTA1", "TBIZLAZ", "TBIZLAZ1"})) {
    out.message(e.text);
    return false;
  }
  const std::string copy = store.pathOf(findLabel("TBVALTA1")->diskName);
  if (copyForReading(path, copy)) {
    out.message("Greška kod preuzimanja podataka " + path);
    out.focus(kFileField);
    return false;
  }
  if (Error e = run.begin()) {
    out.message("Greška " + e.text);
    return false;
  }
  RecordFile findingsFile(store, TBIZLAZ1::kLabel);
  if (Error e = findingsFile.open(OpenMode::Exclusive)) {
    out.message("Greška pri otvaranju TBIZLAZ1.DAT " + e.text);
    return false;
  }
  if (Error e = findingsFile.empty()) {
    out.message("Greška pri pražnjenju TBIZLAZ1.DAT " + e.text);
    return false;
  }
  RecordFile recordsFile(store, TBIZLAZ::kLabel);
  if (recordsFile.open(OpenMode::Exclusive)) {
    out.message("Greška pri otvaranju TBIZLAZ.DAT");
    return false;
  }
  if (recordsFile.empty()) {
    out.message("Greška pri pražnjenju TBIZLAZ.DAT");
    return false;
  }
  out.status("Malo strpljenja. Radim...");
  SubmissionReader reader;
  if (Error e = reader.open(store, copy)) {
    out.message("Greška. Open TBVALTA1.TXT " + e.text);
    return false;
  }

  RecordRow row(recordsFile), finding(findingsFile);
  const int redbroj = row.at("REDBROJ"), tipsloga = row.at("TIPSLOGA"), greska = row.at("GRESKA");
  const int pieces[5] = {row.at("REDAK1"), row.at("REDAK2"), row.at("REDAK3"), row.at("REEDAK4"), row.at("REDAK5")};
  const int fRedbroj = finding.at("REDBROJ"), fKolona = finding.at("KOLONA"), fTip = finding.at("TIP"),
            fPrezime = finding.at("PREZIME"), fGreska = finding.at("GRESKA");

  RecordChecker checker(GLO, tables, today());
  SubmissionLine line;
  std::vector<Finding> found;
  std::int64_t n = 0;
  while (reader.next(line)) {
    ++n;
    if (n % 10 == 0) out.status("Obrađeno " + padLeft(std::to_string(n), 5) + " redaka");
    found.clear();
    checker.check(n, line, found);

    std::string_view raw = line.raw();
    row.rec.setInteger(redbroj, n);
    setTrimmed(row.rec, tipsloga, utf8(raw.substr(kSubmissionRecordWidth - 1)));
    row.rec.setText(greska, found.empty() ? std::string() : std::string("D"));
    for (int i = 0; i < 5; ++i) setTrimmed(row.rec, pieces[i], utf8(raw.substr(i * 50, 50)));
    if (Error e = recordsFile.add(row.rec)) {
      out.message("Greška " + e.text);
      return false;
    }
    for (const Finding& f : found) {
      finding.rec.setInteger(fRedbroj, f.record);
      finding.rec.setText(fKolona, f.column);
      finding.rec.setText(fTip, std::string(1, f.type));
      setTrimmed(finding.rec, fPrezime, std::string(leftChars(f.name, 50)));
      setTrimmed(finding.rec, fGreska, std::string(leftChars(f.message, 140)));
      if (Error e = findingsFile.add(finding.rec)) {
        out.message("Greška " + e.text);
        return false;
      }
      ++(f.type == 'U' ? result.warnings : result.errors);
    }
  }
  if (reader.error()) {
    out.message("Greška. Read TBVALTA1.TXT " + reader.error().text);
    return false;
  }
  reader.close();
  Error e = faultPoint("check.records");
  if (!e) e = run.commit();
  if (e) {
    out.message("Greška " + e.text);
    return false;
  }
  out.status("Izvršena je kontrola datoteke.");
  result.checked = true;
  result.records = n;
  return true;
}

bool showControlNumber(const std::string& path, Reporter& out) {
  std::string error;
  auto hash = doSHAOnFile(path, &error);
  if (!hash) {
    out.message("Greška " + error);
    return false;
  }
  out.status(controlNumber(*hash));
  return true;
}

}  // namespace kdm
