#include "register/employee.h"

#include <functional>

#include "register/contributions.h"
#include "register_fixture.h"

namespace kdm {

using namespace test;

class RegisterEmployee : public RegisterStore {
 protected:
  // A member's May 2005 pay under obligor type 01, regular calculation 01,
  // basis 11: a combination of the delivered control matrix.
  static TBZAPOSL row() {
    TBZAPOSL rad;
    rad.REDBROJ = 1;
    rad.JMBG = kMbg;
    rad.PREZIME = "Horvat Ana";
    rad.OPCINA = "1333";
    rad.VRSOBV = "01";
    rad.VRSTAUPLA = "01";
    rad.CLANDN = "D";
    rad.OSNOVA1 = "11";
    rad.GODOBRA = 2005;
    rad.MJEOBRA = 5;
    rad.ODDANA = 1;
    rad.DODANA = 31;
    rad.IZNOS7 = dec("10000.00");
    rad.IZNOS8 = dec("10000.00");
    rad.IZNOS9 = dec("1500.00");
    rad.IZNOS10 = dec("500.00");
    rad.IZNOS11 = dec("7000.00");
    return rad;
  }
  void keep(TBZAPOSL rad) {
    CollectingReporter rep;
    ASSERT_TRUE(saveEmployeeRow(GLO, *store, rad, true, 0, rep)) << testing::PrintToString(rep.messages);
  }
};

// The messages of saving one changed copy of the row.
struct SaveCase {
  const char* what;
  std::function<void(TBZAPOSL&)> change;
  std::vector<std::string> messages;  // empty: stored
  const char* focus;
};

TEST_F(RegisterEmployee, SaveChecksInOrder) {
  const std::string tail = ". Provjerite kontrolnu tablicu za VOB=01 VOI=01 OO=11";
  const SaveCase cases[] = {
      {"valid", [](TBZAPOSL&) {}, {}, ""},
      {"next year", [](TBZAPOSL& r) { r.GODOBRA = 2006; }, {}, ""},
      {"year after next", [](TBZAPOSL& r) { r.GODOBRA = 2007; },
       {"Godina mora biti veća od 2004 i manja ili jednaka tekućoj godini"}, "RAD:GODOBRA"},
      // The year, month and pillar-II amount are refused as their fields are left.
      {"2004", [](TBZAPOSL& r) { r.GODOBRA = 2004; },
       {"Greška. Godina mora biti veća od 2004 a manja ili jednaka tekućoj"}, "RAD:GODOBRA"},
      {"three digits", [](TBZAPOSL& r) { r.GODOBRA = 205; }, {"Greška. Godina mora biti 4-znamenkasta"},
       "RAD:GODOBRA"},
      {"no membership", [](TBZAPOSL& r) { r.CLANDN = ""; },
       {"Obvezno odredite da li je osoba član OMF ili nije"}, "RAD:CLANDN"},
      {"month 13", [](TBZAPOSL& r) { r.MJEOBRA = 13; }, {"Pogrešna oznaka mjeseca"}, "RAD:MJEOBRA"},
      {"month 0", [](TBZAPOSL& r) { r.MJEOBRA = 0; },
       {"Greška - obračunski mjesec mora biti >0 Provjerite kontrolnu tablicu za VOB=01 VOI=01 OO=11"},
       "RAD:MJEOBRA"},
      {"first day 0", [](TBZAPOSL& r) { r.ODDANA = 0; }, {"Greška - razdoblje od mora biti >0" + tail},
       "RAD:ODDANA"},
      {"gross 0", [](TBZAPOSL& r) { r.IZNOS7 = Decimal(); },
       {"Greška - Iznos obračunane plaće mora biti >0" + tail}, "RAD:IZNOS7"},
      {"base 0", [](TBZAPOSL& r) { r.IZNOS8 = Decimal(); },
       {"Greška - Osnovica za doprinose mora biti >0" + tail}, "RAD:IZNOS8"},
      {"pillar I 0", [](TBZAPOSL& r) { r.IZNOS9 = Decimal(); },
       {"Greška - Iznos doprinosa za I. stup mora biti >0" + tail}, "RAD:IZNOS9"},
      {"pillar II negative", [](TBZAPOSL& r) { r.IZNOS10 = dec("-1.00"); },
       {"Greška - Iznos doprinosa za II.stup mora biti >=0" + tail}, "RAD:IZNOS10"},
      {"net negative", [](TBZAPOSL& r) { r.IZNOS11 = dec("-0.01"); },
       {"Greška - Iznos ispaćene plaće mora biti >=0" + tail}, "RAD:IZNOS11"},
      {"non-member with pillar II", [](TBZAPOSL& r) { r.CLANDN = "N"; },
       {"Greška. Osiguranik nije član OMF. Nema doprinosa za II. stup"}, "RAD:IZNOS10"},
      // Amounts the submission file cannot hold, whatever the type of calculation.
      {"base of 13 digits", [](TBZAPOSL& r) { r.IZNOS8 = dec("1234567890123.00"); },
       {"Greška - Osnovica za doprinose mora biti između -999999999999.99 i 999999999999.99"}, "RAD:IZNOS8"},
      {"largest net", [](TBZAPOSL& r) { r.IZNOS11 = dec("999999999999.99"); }, {}, ""},
      {"type 99 with a net of 13 digits", [](TBZAPOSL& r) {
         r.VRSTAUPLA = "99";
         r.IZNOS11 = dec("-1000000000000.00");
       }, {"Greška - Iznos ispaćene plaće mora biti između -999999999999.99 i 999999999999.99"}, "RAD:IZNOS11"},
      {"member without pillar II", [](TBZAPOSL& r) { r.IZNOS10 = Decimal(); },
       {"Greška - Osoba je član II.stupa, osnovica veća od 0"}, "RAD:IZNOS10"},
      {"type 99 skips the matrix", [](TBZAPOSL& r) {
         r.VRSTAUPLA = "99";
         r.MJEOBRA = 0;
         r.ODDANA = r.DODANA = 0;
         r.IZNOS7 = r.IZNOS8 = r.IZNOS9 = r.IZNOS11 = Decimal();
       }, {}, ""},
      {"type 88 skips the matrix", [](TBZAPOSL& r) {
         r.VRSTAUPLA = "88";
         r.IZNOS9 = Decimal();
       }, {}, ""},
      {"12-digit JMBG", [](TBZAPOSL& r) { r.JMBG = "010199033000"; }, {"JMBG je obavezan podatak."}, "RAD:JMBG"},
      {"wrong check digit", [](TBZAPOSL& r) { r.JMBG = "0101990330001"; },
       {"JMBG nije točan. ISPRAVITE Podatak"}, "RAD:JMBG"},
      {"30 February", [](TBZAPOSL& r) {
         r.MJEOBRA = 2;
         r.ODDANA = 30;
         r.DODANA = 28;
       }, {"Pogrešan dan"}, "RAD:ODDANA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CollectingReporter rep;
    TBZAPOSL rad = row();
    c.change(rad);
    std::int64_t rowid = 0;
    bool expectOk = c.messages.empty();
    EXPECT_EQ(saveEmployeeRow(GLO, *store, rad, true, 0, rep, &rowid), expectOk);
    EXPECT_EQ(rep.messages, c.messages);
    EXPECT_EQ(rep.focused, expectOk ? std::vector<std::string>{} : std::vector<std::string>{c.focus});
    EXPECT_EQ(rowid != 0, expectOk);
    // A refused row stores nothing; an accepted one is removed again so
    // that it reports no amounts for the next case.
    File<TBZAPOSL> rows(*store);
    ASSERT_FALSE(rows.open(OpenMode::Exclusive));
    EXPECT_EQ(rows.count(), expectOk ? 1 : 0);
    ASSERT_FALSE(rows.empty());
  }
}

TEST_F(RegisterEmployee, MissingCombinationWarnsAndChecksNoRange) {
  TBZAPOSL unknown = row();
  unknown.OSNOVA1 = "41";
  const std::string warning = "Upozorenje. Navedena kombinacija VOB=01 VOI=01 OO=41 nije uvedena u kontrolnu tablicu";
  EXPECT_TRUE(checkEmployeeRowForSave(GLO, *store, unknown, out));
  EXPECT_EQ(out.messages, (std::vector<std::string>{warning}));

  // The bounds another combination left do not apply to it either.
  CollectingReporter rep;
  ASSERT_TRUE(checkEmployeeRowForSave(GLO, *store, row(), rep));
  unknown.IZNOS9 = Decimal();  // refused under 01/01/11's ">0"
  EXPECT_TRUE(checkEmployeeRowForSave(GLO, *store, unknown, rep));
  EXPECT_EQ(rep.messages, (std::vector<std::string>{warning}));
}

TEST_F(RegisterEmployee, ZeroAmountAllowedWhenAStoredRowOfThePersonAndMonthReportsIt) {
  keep(row());
  TBZAPOSL otherPerson = row();
  otherPerson.JMBG = kMbg2;
  otherPerson.MJEOBRA = 4;
  otherPerson.DODANA = 30;
  keep(otherPerson);

  // A further row of the same person and month: gross pay and base were
  // reported in the stored row, so 0 passes where the matrix wants ">0".
  TBZAPOSL further = row();
  further.ODDANA = 15;
  further.IZNOS7 = further.IZNOS8 = Decimal();
  further.IZNOS9 = dec("10.00");
  further.IZNOS10 = dec("1.00");
  EXPECT_TRUE(checkEmployeeRowForSave(GLO, *store, further, out)) << testing::PrintToString(out.messages);

  struct {
    const char* what;
    std::function<void(TBZAPOSL&)> change;
  } refused[] = {
      {"another month", [](TBZAPOSL& r) { r.MJEOBRA = 4; }},
      {"another year", [](TBZAPOSL& r) { r.GODOBRA = 2006; }},
      {"a person whose other month has it", [](TBZAPOSL& r) { r.JMBG = kMbg2; }},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.what);
    CollectingReporter rep;
    TBZAPOSL rad = further;
    c.change(rad);
    EXPECT_FALSE(checkEmployeeRowForSave(GLO, *store, rad, rep));
    EXPECT_EQ(rep.focused, std::vector<std::string>{"RAD:IZNOS7"});
  }
}

TEST_F(RegisterEmployee, AChangedRowIsWrittenOverItsStoredVersion) {
  TBZAPOSL rad = row();
  std::int64_t rowid = 0;
  ASSERT_TRUE(saveEmployeeRow(GLO, *store, rad, true, 0, out, &rowid));

  // Its own stored version counts as a reported amount for the change.
  rad.IZNOS7 = Decimal();
  rad.PREZIME = "Horvat Ana Marija";
  ASSERT_TRUE(saveEmployeeRow(GLO, *store, rad, false, rowid, out)) << testing::PrintToString(out.messages);
  auto rows = all<TBZAPOSL>("KEYOSOBA");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].PREZIME, "Horvat Ana Marija");
  EXPECT_TRUE(rows[0].IZNOS7.isZero());

  rad.IZNOS7 = dec("10000.00");
  EXPECT_FALSE(saveEmployeeRow(GLO, *store, rad, false, rowid + 100, out));
  EXPECT_EQ(out.messages, std::vector<std::string>{"Greška kod upisa TBZAPOSL: Record not found"});
}

TEST_F(RegisterEmployee, LeavingFields) {
  struct {
    const char* what;
    std::function<bool(const TBZAPOSL&, Reporter&)> check;
    std::function<void(TBZAPOSL&)> change;
    const char* message;  // empty: the cursor may leave
    const char* focus;
  } cases[] = {
      {"blank JMBG", [&](auto& r, auto& o) { return leaveRowJmbg(GLO, r, o); }, [](TBZAPOSL& r) { r.JMBG = ""; },
       "JMBG je obavezan podatak.", "RAD:JMBG"},
      {"letters in JMBG", [&](auto& r, auto& o) { return leaveRowJmbg(GLO, r, o); },
       [](TBZAPOSL& r) { r.JMBG = "01019903300a0"; }, "JMBG nije točan. ISPRAVITE Podatak", "RAD:JMBG"},
      {"valid JMBG", [&](auto& r, auto& o) { return leaveRowJmbg(GLO, r, o); }, [](TBZAPOSL&) {}, "", ""},
      {"year 999", [](auto& r, auto& o) { return leaveRowYear(r, o); }, [](TBZAPOSL& r) { r.GODOBRA = 999; },
       "Greška. Godina mora biti 4-znamenkasta", "RAD:GODOBRA"},
      {"year 2004", [](auto& r, auto& o) { return leaveRowYear(r, o); }, [](TBZAPOSL& r) { r.GODOBRA = 2004; },
       "Greška. Godina mora biti veća od 2004 a manja ili jednaka tekućoj", "RAD:GODOBRA"},
      {"year 2005", [](auto& r, auto& o) { return leaveRowYear(r, o); }, [](TBZAPOSL&) {}, "", ""},
      {"month 13", [](auto& r, auto& o) { return leaveRowMonth(r, o); }, [](TBZAPOSL& r) { r.MJEOBRA = 13; },
       "Pogrešna oznaka mjeseca", "RAD:MJEOBRA"},
      {"29 February 2005", [&](auto& r, auto& o) { return leaveRowLastDay(GLO, r, o); },
       [](TBZAPOSL& r) { r.MJEOBRA = 2; r.DODANA = 29; }, "Pogrešan dan", "RAD:DODANA"},
      {"29 February 2008", [&](auto& r, auto& o) { return leaveRowLastDay(GLO, r, o); },
       [](TBZAPOSL& r) { r.GODOBRA = 2008; r.MJEOBRA = 2; r.DODANA = 29; }, "", ""},
      {"31 April", [&](auto& r, auto& o) { return leaveRowFirstDay(GLO, r, o); },
       [](TBZAPOSL& r) { r.MJEOBRA = 4; r.ODDANA = 31; }, "Pogrešan dan", "RAD:ODDANA"},
      {"month 0 has no day check", [&](auto& r, auto& o) { return leaveRowFirstDay(GLO, r, o); },
       [](TBZAPOSL& r) { r.MJEOBRA = 0; r.ODDANA = 40; }, "", ""},
      {"non-member with pillar II", [](auto& r, auto& o) { return leaveRowPillar2(r, o); },
       [](TBZAPOSL& r) { r.CLANDN = "N"; }, "Greška. Osiguranik nije član OMF. Nema doprinosa za II. stup",
       "RAD:IZNOS10"},
      {"non-member without pillar II", [](auto& r, auto& o) { return leaveRowPillar2(r, o); },
       [](TBZAPOSL& r) { r.CLANDN = "N"; r.IZNOS10 = Decimal(); }, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CollectingReporter rep;
    TBZAPOSL rad = row();
    c.change(rad);
    bool expectOk = std::string(c.message).empty();
    EXPECT_EQ(c.check(rad, rep), expectOk);
    EXPECT_EQ(rep.messages, expectOk ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(rep.focused, expectOk ? std::vector<std::string>{} : std::vector<std::string>{c.focus});
  }
}

TEST_F(RegisterEmployee, BirthDateFromThePersonalNumber) {
  EXPECT_EQ(birthDateOf(kMbg).iso(), "1990-01-01");
  EXPECT_EQ(birthDateOf("1503005335015").iso(), "2005-03-15");
  EXPECT_FALSE(birthDateOf("3102990330000").isSet());
  EXPECT_FALSE(birthDateOf("").isSet());
}

TEST_F(RegisterEmployee, NewRowsAndCopies) {
  TBPOSLOD pos;
  pos.REDBROJ = 4;
  pos.VRSTOBVEZNIKA = "02";
  APLPARAM apl;
  apl.SIFSJED = "1333";
  TBZAPOSL fresh = newEmployeeRow(pos);
  EXPECT_EQ(fresh.REDBROJ, 4);
  EXPECT_EQ(fresh.VRSOBV, "02");
  EXPECT_EQ(fresh.OPCINA, "");  // the seat is a copy's default only

  TBZAPOSL highlighted = row();
  highlighted.OPCINA = "0010";
  highlighted.OSNOVA3 = "2";
  TBZAPOSL copy = copyEmployeeRow(pos, apl, highlighted);
  EXPECT_EQ(copy.REDBROJ, 4);
  EXPECT_EQ(copy.VRSOBV, "02");
  EXPECT_EQ(copy.OPCINA, "0010");
  EXPECT_EQ(copy.OSNOVA3, "2");
  EXPECT_EQ(copy.PREZIME, "Horvat Ana");
  EXPECT_EQ(copy.JMBG, "");
  EXPECT_EQ(copy.ODDANA + copy.DODANA, 0);
  EXPECT_TRUE(copy.IZNOS10.isZero() && copy.IZNOS11.isZero());
  highlighted.OPCINA = "";
  EXPECT_EQ(copyEmployeeRow(pos, apl, highlighted).OPCINA, "1333");
}

class RegisterContributions : public RegisterStore {};

TEST_F(RegisterContributions, RatesOfTheCombinationTimesTheBase) {
  struct {
    const char* clan;
    const char* staz;
    const char* base;
    const char* rates;  // PRVISTUP1 PRVISTUP2 DRUGISTUP1 DRUGISTUP2
    const char* iznos9;
    const char* iznos10;
  } cases[] = {
      {"D", "", "10000.00", "15.00 0.00 5.00 0.00", "1500.00", "500.00"},
      {"D", "", "333.33", "15.00 0.00 5.00 0.00", "50.00", "16.67"},  // 49.9995 and 16.6665 round up
      {"N", "", "10000.00", "20.00 0.00 0.00 0.00", "2000.00", "0.00"},
      {"D", "1", "1000.05", "15.00 4.48 5.00 0.00", "194.81", "50.00"},
      {"N", "", "0.00", "20.00 0.00 0.00 0.00", "0.00", "0.00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.clan) + c.staz + " " + c.base);
    TBZAPOSL rad;
    rad.VRSTAUPLA = "01";
    rad.VRSOBV = "01";
    rad.OSNOVA1 = "11";
    rad.OSNOVA3 = c.staz;
    rad.CLANDN = c.clan;
    rad.IZNOS8 = dec(c.base);
    ASSERT_TRUE(calculateContributions(*store, rad));
    EXPECT_EQ(rad.PRVISTUP1.toString() + " " + rad.PRVISTUP2.toString() + " " + rad.DRUGISTUP1.toString() + " " +
                  rad.DRUGISTUP2.toString(),
              c.rates);
    EXPECT_EQ(rad.IZNOS9.toString(), c.iznos9);
    EXPECT_EQ(rad.IZNOS10.toString(), c.iznos10);
  }
}

TEST_F(RegisterContributions, EnteringTheAmountsTakesTheRatesAlways) {
  struct {
    bool typed1, typed2;
    const char* iznos9;
    const char* iznos10;
  } cases[] = {
      {false, false, "150.00", "50.00"},
      {true, false, "7.77", "50.00"},
      {false, true, "150.00", "1.11"},
      {true, true, "7.77", "1.11"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.typed1) + std::to_string(c.typed2));
    TBZAPOSL rad;
    rad.VRSTAUPLA = "01";
    rad.VRSOBV = "01";
    rad.OSNOVA1 = "11";
    rad.CLANDN = "D";
    rad.IZNOS8 = dec("1000.00");
    rad.IZNOS9 = dec("7.77");
    rad.IZNOS10 = dec("1.11");
    ASSERT_TRUE(enterContributions(*store, rad, c.typed1, c.typed2));
    EXPECT_EQ(rad.PRVISTUP1.toString() + " " + rad.DRUGISTUP1.toString(), "15.00 5.00");
    EXPECT_EQ(rad.IZNOS9.toString(), c.iznos9);
    EXPECT_EQ(rad.IZNOS10.toString(), c.iznos10);
  }
  TBZAPOSL none;
  none.OSNOVA1 = "41";
  none.IZNOS9 = dec("7.77");
  EXPECT_FALSE(enterContributions(*store, none, false, false));
  EXPECT_EQ(none.IZNOS9.toString(), "7.77");
}

TEST_F(RegisterContributions, NoRateRecordLeavesTheRowAsTyped) {
  TBZAPOSL rad;
  rad.VRSTAUPLA = "01";
  rad.VRSOBV = "01";
  rad.OSNOVA1 = "41";
  rad.CLANDN = "D";
  rad.IZNOS8 = dec("1000.00");
  rad.IZNOS9 = dec("7.77");
  rad.IZNOS10 = dec("1.11");
  EXPECT_FALSE(calculateContributions(*store, rad));
  EXPECT_EQ(rad.IZNOS9.toString(), "7.77");
  EXPECT_EQ(rad.IZNOS10.toString(), "1.11");
  EXPECT_TRUE(rad.PRVISTUP1.isZero());
}

}  // namespace kdm
