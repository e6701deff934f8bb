#include "import/line_checks.h"

#include "checks/checks.h"
#include "controls/control_range.h"
#include "import/payroll_file.h"
#include "platform/text.h"

namespace kdm {
namespace {

// The key of a lookup as the store compares keys: trailing blanks and
// letter case do not count. Built in one buffer per thread, since every
// line looks up several codes.
const std::string& keyOf(std::initializer_list<std::string_view> parts) {
  thread_local std::string key;
  key.clear();
  for (std::string_view p : parts) {
    p = trimRight(p);
    bool ascii = true;
    for (char c : p) ascii &= static_cast<unsigned char>(c) < 0x80;
    if (ascii)
      for (char c : p) key += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c;
    else
      key += upper(p);
    key += '\x1f';
  }
  return key;
}

template <class T>
Error readAll(DataStore& store, const char* label, const std::function<void(const T&)>& take) {
  File<T> f(store, label);
  if (Error e = f.open()) return e;
  f.setStart("");
  Error e;
  while (!(e = f.next())) take(f.rec);
  return e.kind() == ErrorCode::NoMoreRecords ? ok() : e;
}

}  // namespace

Error CodeTables::load(DataStore& store) {
  *this = CodeTables();
  if (Error e = readAll<TBOSNOBR>(store, "TBOSNOBR", [&](const TBOSNOBR& r) { addBasis(r.SIFRA); })) return e;
  if (Error e = readAll<TBOPCINE>(store, "TBOPCINE", [&](const TBOPCINE& r) { addMunicipality(r.SIFRA); })) return e;
  if (Error e = readAll<TBOZNSTA>(store, "TBOZNSTA", [&](const TBOZNSTA& r) { addService(r.SIFRA); })) return e;
  if (Error e = readAll<VEZNATAB>(store, "VEZNATAB", [&](const VEZNATAB& r) { addMatrixRow(r); })) return e;
  return readAll<TBSTOPE>(store, "TBSTOPE", [&](const TBSTOPE& r) { addRates(r); });
}

void CodeTables::addBasis(std::string_view code) { bases_.insert(keyOf({code})); }
void CodeTables::addMunicipality(std::string_view code) { municipalities_.insert(keyOf({code})); }
void CodeTables::addService(std::string_view code) { services_.insert(keyOf({code})); }
void CodeTables::addMatrixRow(const VEZNATAB& row) { matrix_.emplace(keyOf({row.VOB, row.VOI, row.OO}), row); }
void CodeTables::addRates(const TBSTOPE& row) {
  rates_.emplace(keyOf({row.VRSTOBRACUNA, row.VRSTAOBVEZNIKA, row.OSNOVOBRA, row.STAZ, row.CLANDN}), row);
}

bool CodeTables::hasBasis(std::string_view code) const { return bases_.count(keyOf({code})) > 0; }
bool CodeTables::hasMunicipality(std::string_view code) const { return municipalities_.count(keyOf({code})) > 0; }
bool CodeTables::hasService(std::string_view code) const { return services_.count(keyOf({code})) > 0; }

const VEZNATAB* CodeTables::matrixRow(std::string_view vob, std::string_view voi, std::string_view oo) const {
  auto it = matrix_.find(keyOf({vob, voi, oo}));
  return it == matrix_.end() ? nullptr : &it->second;
}

const TBSTOPE* CodeTables::rates(std::string_view clanDn, std::string_view vrstObracuna,
                                 std::string_view vrstaObveznika, std::string_view osnovObra,
                                 std::string_view staz) const {
  auto it = rates_.find(keyOf({vrstObracuna, vrstaObveznika, osnovObra, staz, clanDn}));
  return it == rates_.end() ? nullptr : &it->second;
}

std::string amountN10(Decimal value) { return padLeft(value.toString(2), 10); }

LineChecker::LineChecker(CheckRun run, const CodeTables& tables, Globals& GLO)
    : run_(run), tables_(tables), GLO_(GLO) {}

void LineChecker::choose(std::string vob, std::string obligorType, std::string vrsUpl, int year, int month) {
  vob_ = std::move(vob);
  obligorType_ = std::move(obligorType);
  vrsUpl_ = std::move(vrsUpl);
  year_ = year;
  month_ = month;
  loaded_ = nullptr;
}

// Loading the same row twice in a row gives the same bounds, so a run of
// lines of one combination loads them once.
void LineChecker::loadBounds(const VEZNATAB* row) {
  if (row == loaded_) return;
  ControlRangeLoad(GLO_, *row);
  loaded_ = row;
}

LineVerdict LineChecker::check(const TBUPLATE& line, const Remembered& remembered, const Sink& sink) {
  const bool forms = run_ == CheckRun::Forms;
  LineVerdict v;
  auto note = [&](const std::string& text) { sink(text); };
  auto mark = [&](const std::string& text) {
    sink(text);
    v.marked = v.errorFlag = true;
  };

  const std::string* amountFields[] = {&line.IZNOS7, &line.IZNOS8, &line.IZNOS9, &line.IZNOS10, &line.IZNOS11};
  static const char* const kColumn[] = {"IV.7", "IV.8", "IV.9", "IV.10", "IV.11"};
  for (int i = 0; i < 5; ++i) {
    if (auto a = payrollAmount(*amountFields[i]))
      v.amounts[i] = *a;
    else
      mark(std::string("Podatak ") + kColumn[i] + " nije numerik");
  }

  if (!MbgCheck(GLO_, line.JMBG)) mark(forms ? "Pogrešan JMBG" : "MBG osiguranika nije točan po modulu 11");
  if (!tables_.hasBasis(line.OSNOVA1))
    mark(forms ? "Nepoznat osnov obračuna" : "Nepoznata šifra osnova osiguranja");
  if (!tables_.hasMunicipality(line.OPCINA)) mark("Nepoznata šifra općine");
  if (!tables_.hasService(line.OSNOVA3))
    mark(forms ? "Nepoznata šifra uvećanog staža" : "Nepoznata šifra za uvećani staž");

  v.rates = tables_.rates(line.CLANDN, vrsUpl_, vob_, line.OSNOVA1, line.OSNOVA3);
  const bool member = line.CLANDN == "D", nonMember = line.CLANDN == "N";
  const char* kMembership = "Obvezno odredite da li je osoba član OMF ili nije";
  if (forms) {
    if (vrsUpl_ == "99" || vrsUpl_ == "88") return v;
    if (nonMember && v.amounts[3] > Decimal())
      mark("Osiguranik nije član OMF. Nema doprinosa za II. stup");
    if (!member && !nonMember) {
      note(kMembership);
      v.errorFlag = true;
    }
  } else if (!member && !nonMember) {
    mark(kMembership);
  }

  const VEZNATAB* row = tables_.matrixRow(vob_, forms ? std::string_view(vrsUpl_) : line.VRSTAUPLA, line.OSNOVA1);
  if (!row) {
    if (forms)
      mark("Upozorenje. Navedena kombinacija VOB=" + vob_ + " VOI=" + vrsUpl_ + " OO=" + line.OSNOVA1 +
           " nije uvedena u kontrolnu tablicu");
    else
      note("Pogrešan osnov obračuna za VOB=" + obligorType_ + " VOI=" + line.VRSTAUPLA + " OO=" + line.OSNOVA1);
  }

  Decimal expectedI, expectedII;
  if (v.rates) {
    expectedI = v.amounts[1].percent(v.rates->PRVISTUP1 + v.rates->PRVISTUP2);
    expectedII = v.amounts[1].percent(v.rates->DRUGISTUP1 + v.rates->DRUGISTUP2);
  }
  auto differs = [&](Decimal paid, Decimal expected) {
    Decimal d = paid - expected;
    if (d.isNegative()) d = -d;
    return v.amounts[1] > Decimal() && paid > Decimal() && d > Decimal::fromUnits(300);
  };

  if (row) loadBounds(row);
  const ControlRanges& R = GLO_.Ranges;
  std::string tail;
  if (row) tail = ". Provjerite kontrolnu tablicu za VOB=" + row->VOB + " VOI=" + row->VOI + " OO=" + row->OO;
  auto code = [](const std::string& c) { return std::string(trimRight(c)); };
  // Outside the bounds, unless a zero under a positive lower bound follows
  // a positive amount of the same person.
  auto outside = [&](int column, const Bounds& b) {
    Decimal a = v.amounts[column];
    if (b.allows(a)) return false;
    return !(b.low > Decimal() && a.isZero() && remembered(column) > Decimal());
  };
  bool flag = false;  // forms: IV.8 out of range; input check: IV.9 out of range

  if (row) {
    if (!R.OBRMJE.allows(month_)) {
      std::string combination = forms ? "VOB=" + vob_ + " VOI=" + vrsUpl_ + " OO=" + line.OSNOVA1
                                       : "VOB=" + row->VOB + " VOI=" + row->VOI + " OO=" + row->OO;
      mark("Greška - obračunski mjesec mora biti " + code(row->OBRMJE) + " Provjerite kontrolnu tablicu za " +
           combination);
    }
    if (!R.GODINA.allows(year_)) mark("Greška - obračunska godina.");
    if (!R.DANOD.allows(fieldNumber(line.OBRRAZD1)))
      mark("Greška - razdoblje od mora biti " + code(row->DANOD) + tail);
    if (!R.DANDO.allows(fieldNumber(line.OBRRAZD2)))
      mark("Greška - razdoblje do mora biti " + code(row->DANDO) + tail);
    if (outside(0, R.IZNOS7)) mark("Greška - Iznos obračunane plaće mora biti " + code(row->IZNOS7) + tail);
    if (outside(1, R.IZNOS8)) {
      mark("Greška - Osnovica za doprinose mora biti " + code(row->IZNOS8) + tail);
      if (forms) flag = true;
    }
    if (outside(2, R.IZNOS9)) {
      mark("Greška - Iznos doprinosa za I. stup mora biti " + code(row->IZNOS9) + tail);
      if (!forms) flag = true;
    }
  }
  if (!flag && differs(v.amounts[2], expectedI)) {
    std::string text = std::string(forms ? "Upozorenje - razlika o obračunatom doprinosu I. stupa: "
                                         : "Upozorenje - razlika u obračunatom doprinosu I. stupa: ") +
                       amountN10(v.amounts[2]) + "  - " + amountN10(expectedI);
    forms ? note(text) : mark(text);
  }
  if (row && outside(3, R.IZNOS10))
    mark(std::string(forms ? "Greška - Iznos doprinosa za II. stup mora biti "
                           : "Greška - Iznos doprinosa za II.stup mora biti ") +
         code(row->IZNOS10) + tail);
  if (!flag && differs(v.amounts[3], expectedII))
    note("Upozorenje - razlika u obračunatom doprinosu II stupa: " + amountN10(v.amounts[3]) + "  - " +
         amountN10(expectedII));
  if (row && outside(4, R.IZNOS11)) mark("Greška - Iznos ispaćene plaće mora biti " + code(row->IZNOS11) + tail);
  return v;
}

}  // namespace kdm
