#include "register/employee.h"

#include "checks/checks.h"
#include "controls/control_range.h"
#include "platform/amounts.h"
#include "platform/clock.h"
#include "register/common.h"

namespace kdm {

using namespace reg;

namespace {

bool dayInMonth(Globals& GLO, const TBZAPOSL& rad, std::int16_t day, const char* field, Reporter& out) {
  // Month 0 has no days to check; a month above 12 is refused by its own check.
  if (rad.MJEOBRA < 1 || rad.MJEOBRA > 12) return true;
  if (!DayInMonthCheck(GLO, rad.GODOBRA, rad.MJEOBRA, day)) return refuse(out, field, "Pogrešan dan");
  return true;
}

// The amounts of the person's stored rows for the row's year and month:
// per amount, the value of the last such row that has it above 0.
struct Remembered {
  Decimal iznos[5];
};

Error rememberOtherRows(DataStore& store, const TBZAPOSL& rad, Remembered& seen) {
  File<TBZAPOSL> rad1(store, "RAD1");
  if (Error e = rad1.open()) return e;
  rad1.rec.JMBG = rad.JMBG;
  if (Error e = rad1.set("KEYOSOBA")) return e;
  for (;;) {
    Error e = rad1.next();
    if (e.kind() == ErrorCode::NoMoreRecords) break;
    if (e) return e;
    const TBZAPOSL& other = rad1.rec;
    if (collate(other.JMBG, rad.JMBG) != 0) break;
    if (other.GODOBRA != rad.GODOBRA || other.MJEOBRA != rad.MJEOBRA) continue;
    const Decimal values[5] = {other.IZNOS7, other.IZNOS8, other.IZNOS9, other.IZNOS10, other.IZNOS11};
    for (int i = 0; i < 5; ++i)
      if (values[i] > Decimal()) seen.iznos[i] = values[i];
  }
  return ok();
}

bool isCalculationWithoutMatrix(const std::string& type) { return sameText(type, "88") || sameText(type, "99"); }

// The five amounts IV.7 to IV.11: the field and the start of its messages.
struct AmountField {
  const char* field;
  const char* text;
};
constexpr AmountField kAmountFields[5] = {
    {"RAD:IZNOS7", "Greška - Iznos obračunane plaće mora biti "},
    {"RAD:IZNOS8", "Greška - Osnovica za doprinose mora biti "},
    {"RAD:IZNOS9", "Greška - Iznos doprinosa za I. stup mora biti "},
    {"RAD:IZNOS10", "Greška - Iznos doprinosa za II.stup mora biti "},
    {"RAD:IZNOS11", "Greška - Iznos ispaćene plaće mora biti "},
};

}  // namespace

bool leaveRowJmbg(Globals& GLO, const TBZAPOSL& rad, Reporter& out) {
  std::string_view jmbg = trimRight(rad.JMBG);
  if (charCount(jmbg) < 13) return refuse(out, "RAD:JMBG", "JMBG je obavezan podatak.");
  if (!isDigits(jmbg) || !MbgCheck(GLO, jmbg)) return refuse(out, "RAD:JMBG", "JMBG nije točan. ISPRAVITE Podatak");
  return true;
}

bool leaveRowYear(const TBZAPOSL& rad, Reporter& out) {
  if (rad.GODOBRA < 1000) return refuse(out, "RAD:GODOBRA", "Greška. Godina mora biti 4-znamenkasta");
  if (rad.GODOBRA <= 2004)
    return refuse(out, "RAD:GODOBRA", "Greška. Godina mora biti veća od 2004 a manja ili jednaka tekućoj");
  return true;
}

bool leaveRowMonth(const TBZAPOSL& rad, Reporter& out) {
  if (rad.MJEOBRA > 12) return refuse(out, "RAD:MJEOBRA", "Pogrešna oznaka mjeseca");
  return true;
}

bool leaveRowFirstDay(Globals& GLO, const TBZAPOSL& rad, Reporter& out) {
  return dayInMonth(GLO, rad, rad.ODDANA, "RAD:ODDANA", out);
}

bool leaveRowLastDay(Globals& GLO, const TBZAPOSL& rad, Reporter& out) {
  return dayInMonth(GLO, rad, rad.DODANA, "RAD:DODANA", out);
}

bool leaveRowPillar2(const TBZAPOSL& rad, Reporter& out) {
  if (sameText(rad.CLANDN, "N") && rad.IZNOS10 > Decimal())
    return refuse(out, "RAD:IZNOS10", "Greška. Osiguranik nije član OMF. Nema doprinosa za II. stup");
  return true;
}

Date birthDateOf(std::string_view jmbg) {
  if (jmbg.size() < 7 || !isDigits(jmbg.substr(0, 7))) return {};
  auto number = [&](std::size_t from, std::size_t count) {
    int n = 0;
    for (std::size_t i = from; i < from + count; ++i) n = n * 10 + (jmbg[i] - '0');
    return n;
  };
  int year = (jmbg[4] == '0' ? 2000 : 1000) + number(4, 3);
  return Date::fromYmd(year, number(2, 2), number(0, 2)).value_or(Date());
}

std::string calculationTypeShort(DataStore& store, const std::string& code) {
  File<TBVRSUPL> vup(store);
  if (vup.open()) return {};
  vup.rec.SIFRA = code;
  if (vup.get("KEYSIFRA")) return {};
  return vup.rec.SKROPIS;
}

TBZAPOSL newEmployeeRow(const TBPOSLOD& pos) {
  TBZAPOSL rad;
  rad.REDBROJ = pos.REDBROJ;
  rad.VRSOBV = pos.VRSTOBVEZNIKA;
  return rad;
}

TBZAPOSL copyEmployeeRow(const TBPOSLOD& pos, const APLPARAM& apl, const TBZAPOSL& highlighted) {
  TBZAPOSL rad = newEmployeeRow(pos);
  // The seat is only the default: the highlighted row's municipality replaces it.
  rad.OPCINA = isBlank(highlighted.OPCINA) ? apl.SIFSJED : highlighted.OPCINA;
  rad.OSNOVA3 = highlighted.OSNOVA3;
  rad.PREZIME = highlighted.PREZIME;
  return rad;
}

bool checkEmployeeRowForSave(Globals& GLO, DataStore& store, const TBZAPOSL& rad, Reporter& out) {
  if (rad.GODOBRA < 1000) out.message("Godina mora biti 4-znamenkasta");
  if (rad.GODOBRA <= 2004 || rad.GODOBRA > today().year() + 1)
    return refuse(out, "RAD:GODOBRA", "Godina mora biti veća od 2004 i manja ili jednaka tekućoj godini");
  if (!sameText(rad.CLANDN, "D") && !sameText(rad.CLANDN, "N"))
    return refuse(out, "RAD:CLANDN", "Obvezno odredite da li je osoba član OMF ili nije");
  if (rad.MJEOBRA > 12) return refuse(out, "RAD:MJEOBRA", "Pogrešna oznaka mjeseca");
  const Decimal given[5] = {rad.IZNOS7, rad.IZNOS8, rad.IZNOS9, rad.IZNOS10, rad.IZNOS11};
  for (int i = 0; i < 5; ++i) {
    if (amountFits(given[i])) continue;
    const std::string largest = Decimal::fromUnits(kLargestAmountUnits).toString(2);
    return refuse(out, kAmountFields[i].field,
                  kAmountFields[i].text + ("između -" + largest + " i " + largest));
  }
  if (isCalculationWithoutMatrix(rad.VRSTAUPLA)) return true;

  const std::string vob(trimRight(rad.VRSOBV)), voi(trimRight(rad.VRSTAUPLA)), oo(trimRight(rad.OSNOVA1));
  const std::string combination = "VOB=" + vob + " VOI=" + voi + " OO=" + oo;
  File<VEZNATAB> vez(store);
  if (Error e = vez.open()) {
    out.message(failure("Greška kod otvaranja VEZNATAB", e));
    return false;
  }
  vez.rec.VOB = vob;
  vez.rec.VOI = voi;
  vez.rec.OO = oo;
  // Without a matrix row the codes stay blank: they set no bounds, and no
  // range is checked.
  if (vez.get("KEYVOB_VOI"))
    out.message("Upozorenje. Navedena kombinacija " + combination + " nije uvedena u kontrolnu tablicu");
  ControlRangeLoad(GLO, vez.rec);
  const ControlRanges& r = GLO.Ranges;
  auto condition = [](const std::string& code) { return std::string(trimRight(code)); };
  const std::string tail = ". Provjerite kontrolnu tablicu za " + combination;

  if (!r.OBRMJE.allows(rad.MJEOBRA))
    return refuse(out, "RAD:MJEOBRA",
                  "Greška - obračunski mjesec mora biti " + condition(vez.rec.OBRMJE) +
                      " Provjerite kontrolnu tablicu za " + combination);
  if (!r.GODINA.allows(rad.GODOBRA))
    return refuse(out, "RAD:GODOBRA", "Greška - obračunska godina" + tail);
  if (!r.DANOD.allows(rad.ODDANA))
    return refuse(out, "RAD:ODDANA", "Greška - razdoblje od mora biti " + condition(vez.rec.DANOD) + tail);
  if (!r.DANDO.allows(rad.DODANA))
    return refuse(out, "RAD:DODANA", "Greška - razdoblje do mora biti " + condition(vez.rec.DANDO) + tail);

  Remembered seen;
  if (Error e = rememberOtherRows(store, rad, seen)) {
    out.message(failure("Greška kod čitanja TBZAPOSL", e));
    return false;
  }
  const Bounds* bounds[5] = {&r.IZNOS7, &r.IZNOS8, &r.IZNOS9, &r.IZNOS10, &r.IZNOS11};
  const std::string* codes[5] = {&vez.rec.IZNOS7, &vez.rec.IZNOS8, &vez.rec.IZNOS9, &vez.rec.IZNOS10, &vez.rec.IZNOS11};
  for (int i = 0; i < 5; ++i) {
    if (bounds[i]->allows(given[i])) continue;
    // An amount that must be above 0 may be left at 0 in a further row of
    // a person and month whose stored row already reports it.
    bool reportedElsewhere = bounds[i]->low > Decimal() && given[i].isZero() && seen.iznos[i] > Decimal();
    if (!reportedElsewhere)
      return refuse(out, kAmountFields[i].field, kAmountFields[i].text + condition(*codes[i]) + tail);
  }

  if (r.IZNOS10.allows(rad.IZNOS10)) {
    if (sameText(rad.CLANDN, "N") && rad.IZNOS10 > Decimal())
      return refuse(out, "RAD:IZNOS10", "Greška - Osoba nije član II.stupa");
    if (sameText(rad.CLANDN, "D") && rad.IZNOS10.isZero() && rad.IZNOS8 > Decimal())
      return refuse(out, "RAD:IZNOS10", "Greška - Osoba je član II.stupa, osnovica veća od 0");
  }
  return true;
}

bool saveEmployeeRow(Globals& GLO, DataStore& store, TBZAPOSL& rad, bool isNew, std::int64_t rowid, Reporter& out,
                     std::int64_t* storedRowid) {
  if (!leaveRowJmbg(GLO, rad, out) || !leaveRowYear(rad, out) || !leaveRowMonth(rad, out) ||
      !leaveRowFirstDay(GLO, rad, out) || !leaveRowLastDay(GLO, rad, out) || !leaveRowPillar2(rad, out))
    return false;
  if (!checkEmployeeRowForSave(GLO, store, rad, out)) return false;

  RecordFile file(store, TBZAPOSL::kLabel);
  if (Error e = file.open()) {
    out.message(failure("Greška kod otvaranja TBZAPOSL", e));
    return false;
  }
  Record r = file.blank();
  toRecord(rad, r);
  r.rowid = isNew ? 0 : rowid;
  if (Error e = isNew ? file.insert(r) : file.update(r)) {
    out.message(failure("Greška kod upisa TBZAPOSL", e));
    return false;
  }
  fromRecord(r, rad);
  if (storedRowid) *storedRowid = r.rowid;
  return true;
}

}  // namespace kdm
