#include "import/input_check.h"

#include <gtest/gtest.h>

#include "payroll_fixture.h"

namespace kdm {

class InputCheck : public test::PayrollFixture {
 protected:
  InputCheckWindow w;
  ImportResult result;

  void SetUp() override {
    PayrollFixture::SetUp();
    obligor(1);
  }
  // The window after choosing obligor 1 and the type, May 2005, days 1-31.
  bool run(const std::string& file, const std::string& type = "01") {
    EXPECT_TRUE(openInputCheck(GLO, *store, w, out));
    EXPECT_TRUE(chooseCheckObligor(GLO, *store, w, 1));
    GLO.VrsUpl = type;
    w.year = 2005;
    w.month = 5;
    w.dayFrom = 1;
    w.dayTo = 31;
    w.file = file;
    return checkPayrollFile(GLO, *store, w, result, out);
  }
};

TEST_F(InputCheck, ChecksTheSelectedLinesAndKeepsEveryLineForReview) {
  test::PayrollLineFields good, other, badPerson, badAmount, badPlace;
  other.MB = "999999990000";
  other.GODOBRA = "2004";
  badPerson.JMBG = "0101980000003";
  badPerson.CLANDN = "X";
  badAmount.JMBG = "0101980000010";
  badAmount.IZNOS8 = "0000000001 0000";
  badPlace.JMBG = "1111111111111";
  badPlace.OPCINA = "1232";
  ASSERT_TRUE(run(payrollFile({good, other, badPerson, badAmount, badPlace})));

  EXPECT_EQ(findings(), (std::vector<std::string>{
                            "1 0101980000003: MBG osiguranika nije točan po modulu 11",
                            "2 0101980000003: Obvezno odredite da li je osoba član OMF ili nije",
                            "3 0101980000003: Upozorenje - razlika u obračunatom doprinosu I. stupa:     150.00  -       0.00",
                            "4 0101980000003: Upozorenje - razlika u obračunatom doprinosu II stupa:      50.00  -       0.00",
                            "5 0101980000010: Podatak IV.8 nije numerik",
                            "6 0101980000010: Greška - Osnovica za doprinose mora biti >0. Provjerite kontrolnu tablicu za VOB",
                            "7 1111111111111: Nepoznata šifra općine",
                        }));
  EXPECT_EQ(result.read, 5);
  EXPECT_EQ(result.accepted, 1);
  EXPECT_EQ(result.marked, 3);
  EXPECT_EQ(result.MB, "12345679");
  EXPECT_EQ(out.statuses.back(), "Ukupno obrađeno=    5");

  // The finding keeps the line's fields as the file has them.
  File<TBGRESKE> gre(*store);
  gre.open();
  gre.rec.RB = 5;
  ASSERT_FALSE(gre.get("KEYREDBROJ"));
  EXPECT_EQ(gre.rec.IZNOS8, "0000000001 0000");
  EXPECT_EQ(gre.rec.PREZIME, "Šimić Ivan");
  EXPECT_EQ(gre.rec.MB, "123456790000");
  EXPECT_EQ(gre.rec.TIP, 0);

  // Every line, with the chosen year and month; only the good one passed.
  EXPECT_EQ(count("TBOSIGU3"), 5);
  File<TBOSIGU3> all(*store);
  all.open();
  all.setStart("KEYPREZIME");
  while (!all.next()) {
    EXPECT_EQ(all.rec.GODOBRA, 2005);
    EXPECT_EQ(all.rec.OBRMJE, 5);
  }
  File<TBOSIGU2> passed(*store);
  passed.open();
  passed.setStart("KEYPREZIME");
  ASSERT_FALSE(passed.next());
  EXPECT_EQ(passed.rec.JMBG, "0101980000002");
  EXPECT_EQ(passed.rec.IZNOS9.toString(4), "150.0000");
  EXPECT_EQ(passed.rec.VRSUPL, "01");
  EXPECT_TRUE(passed.next());
}

TEST_F(InputCheck, WhatMarksALineAndWhatOnlyReportsIt) {
  struct Case {
    const char* what;
    void (*change)(test::PayrollLineFields&);
    const char* type;
    std::vector<std::string> findings;
    bool accepted;
  } cases[] = {
      {"a good line", [](test::PayrollLineFields&) {}, "01", {}, true},
      {"pillar I 0.03 off", [](test::PayrollLineFields& l) { l.IZNOS9 = test::amount("150.03"); }, "01", {}, true},
      {"pillar I 0.04 off",
       [](test::PayrollLineFields& l) { l.IZNOS9 = test::amount("150.04"); },
       "01",
       {"Upozorenje - razlika u obračunatom doprinosu I. stupa:     150.04  -     150.00"},
       false},
      {"pillar II 0.04 off",
       [](test::PayrollLineFields& l) { l.IZNOS10 = test::amount("50.04"); },
       "01",
       {"Upozorenje - razlika u obračunatom doprinosu II stupa:      50.04  -      50.00"},
       true},
      {"pillar I out of range: no differences",
       [](test::PayrollLineFields& l) {
         l.IZNOS9 = test::amount("0.00");
         l.IZNOS10 = test::amount("50.04");
       },
       "01",
       {"Greška - Iznos doprinosa za I. stup mora biti >0. Provjerite kontrolnu tablicu z"},
       false},
      {"a basis missing from the matrix",
       [](test::PayrollLineFields& l) {
         l.OSNOVA1 = "12";
         l.IZNOS9 = l.IZNOS10 = test::amount("0.00");
       },
       "01",
       {"Pogrešan osnov obračuna za VOB=01 VOI=01 OO=12"},
       true},
      {"an unknown basis",
       [](test::PayrollLineFields& l) { l.OSNOVA1 = "77"; },
       "01",
       {"Nepoznata šifra osnova osiguranja", "Pogrešan osnov obračuna za VOB=01 VOI=01 OO=77",
        "Upozorenje - razlika u obračunatom doprinosu I. stupa:     150.00  -       0.00",
        "Upozorenje - razlika u obračunatom doprinosu II stupa:      50.00  -       0.00"},
       false},
      {"an unknown service mark",
       [](test::PayrollLineFields& l) {
         l.OSNOVA3 = "9";
         l.IZNOS10 = test::amount("0.00");
       },
       "01",
       {"Nepoznata šifra za uvećani staž",
        "Upozorenje - razlika u obračunatom doprinosu I. stupa:     150.00  -       0.00"},
       false},
      {"a month the matrix wants 0 (type 05)",
       [](test::PayrollLineFields& l) { l.VRSTAUPLA = "05"; },
       "05",
       {"Greška - obračunski mjesec mora biti = 0 Provjerite kontrolnu tablicu za VOB=01"},
       false},
      {"an amount not numeric",
       [](test::PayrollLineFields& l) { l.IZNOS11 = "+0000000000100."; },
       "01",
       {"Podatak IV.11 nije numerik"},
       false},
      {"a non-member's pillar II is only checked against its expected 0",
       [](test::PayrollLineFields& l) {
         l.CLANDN = "N";
         l.IZNOS9 = test::amount("200.00");
       },
       "01",
       {"Upozorenje - razlika u obračunatom doprinosu II stupa:      50.00  -       0.00"},
       true},
  };
  for (auto& c : cases) {
    test::PayrollLineFields line;
    c.change(line);
    out = CollectingReporter();
    ASSERT_TRUE(run(payrollFile({line}), c.type)) << c.what << ": " << lastMessage();
    std::vector<std::string> texts;
    for (auto& f : findings()) texts.push_back(f.substr(f.find(": ") + 2));
    EXPECT_EQ(texts, c.findings) << c.what;
    EXPECT_EQ(result.accepted, c.accepted ? 1 : 0) << c.what;
    EXPECT_EQ(result.marked, c.accepted ? 0 : 1) << c.what;
    EXPECT_EQ(count("TBOSIGU2"), c.accepted ? 1 : 0) << c.what;
  }
}

TEST_F(InputCheck, APersonOnConsecutiveLinesNeedsOnePositiveAmount) {
  test::PayrollLineFields first, zero, otherPerson, otherType;
  zero.IZNOS7 = zero.IZNOS8 = zero.IZNOS9 = zero.IZNOS10 = zero.IZNOS11 = test::amount("0.00");
  otherPerson.JMBG = "0101980000010";
  otherType.VRSTAUPLA = "02";  // not selected, but remembered all the same
  const std::vector<std::string> outOfRange = {
      "Greška - Iznos obračunane plaće mora biti >0. Provjerite kontrolnu tablicu za VO",
      "Greška - Osnovica za doprinose mora biti >0. Provjerite kontrolnu tablicu za VOB",
      "Greška - Iznos doprinosa za I. stup mora biti >0. Provjerite kontrolnu tablicu z",
  };
  struct Case {
    const char* what;
    std::vector<test::PayrollLineFields> lines;
    std::vector<std::string> findings;
  } cases[] = {
      {"right after a positive line", {first, zero}, {}},
      {"after a line of another person", {first, otherPerson, zero}, outOfRange},
      {"after an unselected line of the same person", {otherType, zero}, {}},
      {"alone", {zero}, outOfRange},
  };
  for (auto& c : cases) {
    ASSERT_TRUE(run(payrollFile(c.lines)));
    std::vector<std::string> texts;
    for (auto& f : findings()) texts.push_back(f.substr(f.find(": ") + 2));
    EXPECT_EQ(texts, c.findings) << c.what;
  }
}

TEST_F(InputCheck, StopsBeforeReadingAndLeavesTheReviewOfTheLastRun) {
  ASSERT_TRUE(run(payrollFile({test::PayrollLineFields(), test::PayrollLineFields()})));
  ASSERT_EQ(count("TBOSIGU3"), 2);
  File<TBGRESKE> gre(*store);
  auto addFinding = [&] {
    gre.open();
    gre.rec = TBGRESKE{};
    gre.rec.RB = 1;
    gre.rec.OPIS = "stara";
    gre.add();
    gre.close();
  };

  addFinding();
  EXPECT_FALSE(run(dir.file("nowhere.txt")));
  EXPECT_EQ(lastMessage(), "Greška kod preuzimanja podataka " + dir.file("nowhere.txt"));
  EXPECT_TRUE(findings().empty());
  EXPECT_EQ(count("TBOSIGU3"), 2);
  EXPECT_FALSE(result.shown);

  addFinding();
  EXPECT_TRUE(openInputCheck(GLO, *store, w, out));
  w.year = 2004;
  EXPECT_FALSE(checkPayrollFile(GLO, *store, w, result, out));
  EXPECT_EQ(lastMessage(), "Greška. Godina mora biti veća od 2004");
  EXPECT_TRUE(findings().empty());

  // Without a chosen obligor the staged file is read by nobody.
  w.year = 2005;
  w.file = payrollFile({test::PayrollLineFields()});
  EXPECT_FALSE(checkPayrollFile(GLO, *store, w, result, out));
  EXPECT_EQ(lastMessage(), "Greška 35");
  EXPECT_EQ(count("TBOSIGU3"), 2);

  File<APLPARAM> apl(*store);
  apl.open();
  apl.rec.RB = 1;
  apl.get("KEYRB");
  apl.rec.JMBG = "1111111111111";
  apl.put();
  EXPECT_FALSE(openInputCheck(GLO, *store, w, out));
  EXPECT_FALSE(checkPayrollFile(GLO, *store, w, result, out));
  EXPECT_EQ(lastMessage(), "Ispravite podatke o ovlaštenoj osobi.| Ispravak izvršite kroz Servisi/Aplikacijski parametri");
}

TEST_F(InputCheck, AnyBytesAreReadAsLines) {
  std::string garbage = dir.file("garbage.bin");
  {
    std::ofstream f(garbage, std::ios::binary);
    for (int i = 0; i < 2000; ++i) f << static_cast<char>((i * 7919) % 256);
    f << "\r\n\r\n" << test::PayrollLineFields().raw().substr(0, 150) << "\r\n" << test::PayrollLineFields().raw();
  }
  ASSERT_TRUE(run(garbage)) << lastMessage();
  EXPECT_EQ(result.read, count("TBOSIGU3"));
  EXPECT_GT(result.read, 4);
  EXPECT_EQ(result.accepted, 1);  // the last line, without a line end
  EXPECT_EQ(result.marked, 1);    // the line cut after 150 characters
  EXPECT_EQ(findings().front(), "1 0101980000002: Podatak IV.9 nije numerik");

  ASSERT_TRUE(run(payrollFile(std::vector<std::string>{}, "empty.txt")));
  EXPECT_EQ(result.read, 0);
  EXPECT_EQ(count("TBOSIGU3"), 0);
}

}  // namespace kdm
