#include "import/payroll_forms.h"

#include <gtest/gtest.h>

#include "import/input_check.h"
#include "payroll_fixture.h"
#include "platform/files.h"
#include "platform/hash.h"
#include "submission/control_number.h"

namespace kdm {

class PayrollForms : public test::PayrollFixture {
 protected:
  ImportResult result;
  std::string file;

  // The window after choosing the obligor and the type, May 2005, days
  // 1-31, sequence 1, single delivery.
  bool form(const std::string& payroll, std::int16_t nr = 1, const std::string& type = "01", int sequence = 1) {
    EXPECT_TRUE(openPayrollForms(GLO, *store, file, out));
    EXPECT_TRUE(choosePayrollObligor(GLO, *store, nr));
    GLO.VrsUpl = type;
    GLO.ObrGodina = GLO.GodIsplate = 2005;
    GLO.ObrMjesec = GLO.MjIsplate = 5;
    GLO.DanOd = 1;
    GLO.DanDo = 31;
    GLO.ZadBroj = static_cast<std::int16_t>(sequence);
    GLO.DatSlanja = *Date::fromYmd(2005, 6, 20);
    return formFromPayroll(GLO, *store, DeliveryMode::Single, payroll, result, out);
  }
  std::optional<TBOBRAZA> pageA(const std::string& konveza) {
    File<TBOBRAZA> a(*store);
    a.open();
    a.rec.KONVEZA = konveza;
    if (a.get("KEYIDENTIKATOR")) return std::nullopt;
    return a.rec;
  }
  std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  }
  // Ten good lines of ten persons.
  std::vector<test::PayrollLineFields> tenPersons() {
    std::vector<test::PayrollLineFields> lines;
    for (int n = 1000; lines.size() < 10; ++n) {
      test::PayrollLineFields l;
      l.JMBG = test::mbg("01019800" + std::to_string(n));
      if (!l.JMBG.empty()) lines.push_back(l);
    }
    return lines;
  }
};

TEST_F(PayrollForms, ALineOfAnotherObligorIsListedAndTheFormIsProduced) {
  obligor(1);
  test::PayrollLineFields foreign;
  foreign.MB = "999999990000";
  foreign.GODOBRA = "x5";  // a garbage year: its finding is stored all the same
  auto lines = tenPersons();
  lines[3].PREZIME = "Čađež Žana";
  lines.insert(lines.begin(), foreign);
  std::vector<std::string> raw;
  for (auto& l : lines) raw.push_back(l.raw());
  raw[4][61 + 11] = '\x81';  // a byte CP1250 leaves undefined, in a name
  ASSERT_TRUE(form(payrollFile(raw))) << lastMessage();

  EXPECT_EQ(GLO.Status, 2);
  EXPECT_EQ(findings(), std::vector<std::string>{"1 0101980000002: Redak nije preuzet."});
  EXPECT_EQ(result.read, 11);
  EXPECT_EQ(result.accepted, 10);
  EXPECT_EQ(result.marked, 1);
  EXPECT_EQ(result.note, "Nakon obrade pregledajte popis grešaka ");
  EXPECT_EQ(out.statuses.back(), "OBVEZNIK JE USPJEŠNO OBRAĐEN");
  EXPECT_NE(std::find(out.statuses.begin(), out.statuses.end(), "Pročitano=   11 Preuzeto=   10"), out.statuses.end());
  EXPECT_NE(std::find(out.statuses.begin(), out.statuses.end(), "    2. Formalna kontrola za = Šimić Ivan"),
            out.statuses.end());

  auto a = pageA("001500101");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->BROJOSIG, 10);
  EXPECT_EQ(a->IZNOS8.toString(), "10000.00");
  EXPECT_EQ(a->IZNOS9.toString(), "1500.00");
  EXPECT_EQ(a->MB01, "12345679");
  std::string copy = joinPath(dir.path(), "F0015001.TXT");
  ASSERT_EQ(GLO.ImeDatoteke, copy);
  EXPECT_EQ(a->KONZNAK, controlNumber(*doSHAOnFile(copy)));

  // Amounts carry "+", names go back byte for byte.
  std::string bytes = bytesOf(copy);
  EXPECT_NE(bytes.find("+00000000150000+00000000100000+00000000015000"), std::string::npos);
  std::string name = raw[4].substr(61, 50);
  EXPECT_NE(bytes.find(std::string(trimRight(name))), std::string::npos);
  EXPECT_NE(bytes.find("\xC8" "a\xF0" "e\x9E \x8E" "ana"), std::string::npos);
}

TEST_F(PayrollForms, OneRejectedLineStopsBeforePageA) {
  obligor(1);
  auto lines = tenPersons();
  ASSERT_TRUE(form(payrollFile(lines)));
  ASSERT_TRUE(pageA("001500101"));
  std::string before = bytesOf(GLO.ImeDatoteke);

  lines[2].JMBG = "0101980000003";
  lines[5].IZNOS7 = test::amount("2000.00");  // the totals would change
  out = CollectingReporter();
  EXPECT_FALSE(form(payrollFile(lines)));
  EXPECT_EQ(GLO.Status, 0);
  EXPECT_EQ(findings(), std::vector<std::string>{"1 0101980000003: Pogrešan JMBG"});
  EXPECT_EQ(out.statuses.back(), "Obrada je prekinuta, provjerite popis grešaka i upozorenja.");
  // The earlier page B, page A and file stay as they were: none of the
  // rows of the rejected run.
  EXPECT_EQ(count("TBOSIGUR"), 10);
  EXPECT_EQ(pageA("001500101")->IZNOS7.toString(), "15000.00");
  EXPECT_EQ(bytesOf(GLO.ImeDatoteke), before);
}

TEST_F(PayrollForms, WhatKeepsALineOutAndWhatOnlyCounts) {
  obligor(1);
  struct Case {
    const char* what;
    void (*change)(test::PayrollLineFields&);
    std::vector<std::string> findings;
    bool taken;
  } cases[] = {
      {"membership X is taken",
       [](test::PayrollLineFields& l) { l.CLANDN = "X"; },
       {"Obvezno odredite da li je osoba član OMF ili nije",
        "Upozorenje - razlika o obračunatom doprinosu I. stupa:     150.00  -       0.00",
        "Upozorenje - razlika u obračunatom doprinosu II stupa:      50.00  -       0.00"},
       true},
      {"a non-member with pillar II",
       [](test::PayrollLineFields& l) {
         l.CLANDN = "N";
         l.IZNOS9 = test::amount("200.00");
         l.IZNOS10 = test::amount("10.00");
       },
       {"Osiguranik nije član OMF. Nema doprinosa za II. stup",
        "Upozorenje - razlika u obračunatom doprinosu II stupa:      10.00  -       0.00"},
       false},
      {"pillar I 0.05 off is a warning",
       [](test::PayrollLineFields& l) { l.IZNOS9 = test::amount("150.05"); },
       {"Upozorenje - razlika o obračunatom doprinosu I. stupa:     150.05  -     150.00"},
       true},
      {"pillar I out of range keeps the differences",
       [](test::PayrollLineFields& l) {
         l.IZNOS9 = test::amount("0.00");
         l.IZNOS10 = test::amount("50.04");
       },
       {"Greška - Iznos doprinosa za I. stup mora biti >0. Provjerite kontrolnu tablicu z",
        "Upozorenje - razlika u obračunatom doprinosu II stupa:      50.04  -      50.00"},
       false},
      {"pillar II out of range",
       [](test::PayrollLineFields& l) { l.IZNOS10 = test::amount("-1.00"); },
       {"Greška - Iznos doprinosa za II. stup mora biti >=0. Provjerite kontrolnu tablicu"},
       false},
      {"a basis missing from the matrix",
       [](test::PayrollLineFields& l) {
         l.OSNOVA1 = "12";
         l.IZNOS9 = l.IZNOS10 = test::amount("0.00");
       },
       {"Upozorenje. Navedena kombinacija VOB=01 VOI=01 OO=12 nije uvedena u kontrolnu ta"},
       false},
      {"unknown codes",
       [](test::PayrollLineFields& l) {
         l.OSNOVA1 = "77";
         l.OPCINA = "1232";
         l.OSNOVA3 = "9";
         l.IZNOS9 = l.IZNOS10 = test::amount("0.00");
       },
       {"Nepoznat osnov obračuna", "Nepoznata šifra općine", "Nepoznata šifra uvećanog staža",
        "Upozorenje. Navedena kombinacija VOB=01 VOI=01 OO=77 nije uvedena u kontrolnu ta"},
       false},
  };
  for (auto& c : cases) {
    test::PayrollLineFields line;
    c.change(line);
    out = CollectingReporter();
    bool formed = form(payrollFile({line}));
    std::vector<std::string> texts;
    for (auto& f : findings()) texts.push_back(f.substr(f.find(": ") + 2));
    EXPECT_EQ(texts, c.findings) << c.what;
    EXPECT_EQ(formed, c.taken) << c.what << ": " << lastMessage();
    EXPECT_EQ(result.accepted, c.taken ? 1 : 0) << c.what;
    EXPECT_EQ(result.marked, c.what == std::string("pillar I 0.05 off is a warning") ? 0 : 1) << c.what;
  }
}

TEST_F(PayrollForms, ACorrectionOfType99SkipsTheChecksAndKeepsOtherRows) {
  obligor(1);
  {
    File<TBOSIGUR> osi(*store);
    osi.open();
    osi.rec.KONVEZA = "001500199";
    osi.rec.JMBG = "1111111111111";
    osi.rec.VRSUPL = "01";
    osi.rec.GODOBRA = 2005;
    osi.rec.OBRMJE = 5;
    osi.rec.IZNOS8 = Decimal::fromInt(7);
    ASSERT_FALSE(osi.add());
    osi.rec.VRSUPL = "99";
    osi.rec.JMBG = "0101980000010";
    ASSERT_FALSE(osi.add());
  }
  test::PayrollLineFields line;
  line.VRSTAUPLA = "99";
  line.CLANDN = "X";
  line.IZNOS8 = test::amount("0.00");
  line.IZNOS10 = test::amount("-3.00");
  ASSERT_TRUE(form(payrollFile({line}), 1, "99")) << lastMessage();
  EXPECT_TRUE(findings().empty());
  File<TBOSIGUR> osi(*store);
  osi.open();
  osi.rec.KONVEZA = "001500199";
  osi.set("KEYOBRGODMJE");
  std::vector<std::string> rows;
  while (!osi.next() && osi.rec.KONVEZA == "001500199") rows.push_back(osi.rec.JMBG + " " + osi.rec.VRSUPL);
  EXPECT_EQ(rows, (std::vector<std::string>{"0101980000002 99", "1111111111111 01"}));
}

TEST_F(PayrollForms, SequenceLimitsOfObligorTypes30And31) {
  obligor(30, "30");
  obligor(31, "31");
  struct Case {
    std::int16_t obligor;
    int sequence;
    const char* refusal;  // nullptr: passes on to the file
  } cases[] = {
      {30, 49, nullptr},
      {30, 50, "Za VOB=30 red. broj unutar indetifikatora mora biti < 50"},
      {31, 50, nullptr},
      {31, 49, "Za VOB=31 red. broj unutar indetifikatora mora biti >=50"},
  };
  for (auto& c : cases) {
    out = CollectingReporter();
    EXPECT_FALSE(form(dir.file("nowhere.txt"), c.obligor, "01", c.sequence));
    EXPECT_EQ(lastMessage(), c.refusal ? c.refusal : "Greška kod preuzimanja podataka " + dir.file("nowhere.txt"))
        << c.obligor << "/" << c.sequence;
  }
}

TEST_F(PayrollForms, AZeroAmountPassesAfterAPositiveRowOfThePersonInTheMonth) {
  obligor(1);
  test::PayrollLineFields zero;
  zero.IZNOS7 = zero.IZNOS8 = zero.IZNOS9 = zero.IZNOS10 = test::amount("0.00");
  std::string zeroFile = payrollFile({zero}, "zero.txt");
  ASSERT_FALSE(form(zeroFile));
  EXPECT_EQ(findings().size(), 3u);

  // A row of the same person and month on another form.
  ASSERT_TRUE(form(payrollFile({test::PayrollLineFields()}, "positive.txt"), 1, "01", 2));
  out = CollectingReporter();
  ASSERT_TRUE(form(zeroFile)) << lastMessage();
  EXPECT_TRUE(findings().empty());
}

TEST_F(PayrollForms, ARowThatCannotBeStoredKeepsTheFormFromBeingProduced) {
  obligor(1);
  auto lines = tenPersons();
  lines[4].IZNOS7 = test::amount("999999999999.99");  // valid, but wider than a page-B amount
  EXPECT_FALSE(form(payrollFile(lines)));
  EXPECT_NE(std::find(out.messages.begin(), out.messages.end(), "Greška kod upisa 44"), out.messages.end());
  EXPECT_FALSE(pageA("001500101"));
  EXPECT_EQ(GLO.Status, 0);
}

TEST_F(PayrollForms, FieldChecksAndRefusals) {
  obligor(1);
  ASSERT_TRUE(openPayrollForms(GLO, *store, file, out));
  EXPECT_EQ(GLO.VrsUpl, "0");
  EXPECT_EQ(GLO.IspisKB, "D");
  GLO.ObrGodina = 2004;
  EXPECT_FALSE(leavePayrollYearField(GLO, "2004", out));
  EXPECT_EQ(lastMessage(), "Greška. Godina mor abiti veća od 2004");
  EXPECT_EQ(GLO.GodIsplate, 2004);
  EXPECT_FALSE(leavePayrollYearField(GLO, "204", out));
  EXPECT_EQ(lastMessage(), "Greška. Godina mora biti 4-znamenkasta");
  GLO.ObrMjesec = 13;
  EXPECT_FALSE(leavePayrollMonthField(GLO, out));
  EXPECT_EQ(lastMessage(), "Pogrešna oznaka mjeseca");
  GLO.MjIsplate = 13;
  EXPECT_FALSE(leavePayrollPayMonthField(GLO, out));
  EXPECT_EQ(lastMessage(), "Greška. Pogrešna oznaka mjeseca");

  // Choosing proposes the last sequence number, not the next.
  obligor(4, "01", "12345679", "0000000000000", 7);
  ASSERT_TRUE(choosePayrollObligor(GLO, *store, 4));
  EXPECT_EQ(GLO.ZadBroj, 7);

  ASSERT_TRUE(choosePayrollObligor(GLO, *store, 1));
  GLO.ObrGodina = 2005;
  GLO.ObrMjesec = 5;
  EXPECT_FALSE(formFromPayroll(GLO, *store, DeliveryMode::None, "x", result, out));
  EXPECT_EQ(lastMessage(), "Obavezno izaberite način slanja podataka");
  EXPECT_FALSE(result.shown);
}

// A payroll file written from the rows of a form formed from employee rows
// checks clean and forms the same page A.
TEST_F(PayrollForms, APayrollFileOfAFormedFormsRowsFormsTheSamePageA) {
  obligor(1);
  const char* people[][3] = {{"0101980000002", "Anić Ana", "D"},
                             {"0101980000010", "Babić Ivo", "N"},
                             {"1111111111111", "Čolić Đuro", "D"}};
  {
    File<TBZAPOSL> rad(*store);
    rad.open();
    int i = 0;
    for (auto& p : people) {
      for (int part = 0; part < 2; ++part) {
        rad.rec = TBZAPOSL{};
        rad.rec.REDBROJ = 1;
        rad.rec.JMBG = p[0];
        rad.rec.PREZIME = p[1];
        rad.rec.OPCINA = "1333";
        rad.rec.VRSTAUPLA = "01";
        rad.rec.CLANDN = p[2];
        rad.rec.OSNOVA1 = "11";
        rad.rec.GODOBRA = 2005;
        rad.rec.MJEOBRA = 5;
        rad.rec.ODDANA = static_cast<std::int16_t>(part ? 16 : 1);
        rad.rec.DODANA = static_cast<std::int16_t>(part ? 31 : 15);
        Decimal base = Decimal::fromInt(700 + 100 * i++) + Decimal::fromUnits(3300);
        rad.rec.IZNOS7 = base + Decimal::fromInt(200);
        rad.rec.IZNOS8 = base;
        rad.rec.IZNOS9 = base.percent(Decimal::fromInt(p[2][0] == 'D' ? 15 : 20));
        rad.rec.IZNOS10 = p[2][0] == 'D' ? base.percent(Decimal::fromInt(5)) : Decimal();
        rad.rec.IZNOS11 = base - Decimal::fromInt(100);
        ASSERT_FALSE(rad.add());
      }
    }
  }
  ASSERT_TRUE(openFormCreation(GLO, *store, out));
  ASSERT_TRUE(chooseObligor(GLO, *store, 1, out));
  GLO.VrsUpl = "01";
  GLO.ObrGodina = GLO.GodIsplate = 2005;
  GLO.ObrMjesec = GLO.MjIsplate = 5;
  GLO.DanOd = 1;
  GLO.DanDo = 31;
  ASSERT_TRUE(processObligor(GLO, *store, DeliveryMode::Single, out)) << lastMessage();
  TBOBRAZA fromRows = *pageA("001500101");

  std::vector<test::PayrollLineFields> lines;
  File<TBOSIGUR> osi(*store);
  osi.open();
  osi.rec.KONVEZA = "001500101";
  osi.set("KEYOBRGODMJE");
  while (!osi.next() && osi.rec.KONVEZA == "001500101") {
    test::PayrollLineFields l;
    l.JMBG = osi.rec.JMBG;
    l.PREZIME = osi.rec.PREZIME;
    l.OPCINA = osi.rec.OPCINA;
    l.CLANDN = osi.rec.CLANDN;
    l.OSNOVA1 = osi.rec.OSNOVA1;
    l.OSNOVA3 = osi.rec.OSNOVA3;
    l.OBRRAZD1 = padLeft(std::to_string(osi.rec.OBRRAZD1), 2, '0');
    l.OBRRAZD2 = padLeft(std::to_string(osi.rec.OBRRAZD2), 2, '0');
    Decimal* amounts[] = {&osi.rec.IZNOS7, &osi.rec.IZNOS8, &osi.rec.IZNOS9, &osi.rec.IZNOS10, &osi.rec.IZNOS11};
    std::string* fields[] = {&l.IZNOS7, &l.IZNOS8, &l.IZNOS9, &l.IZNOS10, &l.IZNOS11};
    for (int i = 0; i < 5; ++i) *fields[i] = encodeAmount(*amounts[i], '0');
    lines.push_back(l);
  }
  ASSERT_EQ(lines.size(), 6u);
  std::string payroll = payrollFile(lines);

  InputCheckWindow w;
  ASSERT_TRUE(openInputCheck(GLO, *store, w, out));
  ASSERT_TRUE(chooseCheckObligor(GLO, *store, w, 1));
  GLO.VrsUpl = "01";
  w.year = 2005;
  w.month = 5;
  w.dayFrom = 1;
  w.dayTo = 31;
  w.file = payroll;
  ASSERT_TRUE(checkPayrollFile(GLO, *store, w, result, out));
  EXPECT_TRUE(findings().empty());
  EXPECT_EQ(result.accepted, 6);

  ASSERT_TRUE(form(payroll, 1, "01", 2)) << lastMessage();
  EXPECT_TRUE(findings().empty());
  TBOBRAZA fromPayroll = *pageA("001500201");
  EXPECT_EQ(fromPayroll.BROJOSIG, fromRows.BROJOSIG);
  EXPECT_EQ(fromPayroll.BROJSTRANA, fromRows.BROJSTRANA);
  EXPECT_EQ(fromPayroll.IZNOS7, fromRows.IZNOS7);
  EXPECT_EQ(fromPayroll.IZNOS8, fromRows.IZNOS8);
  EXPECT_EQ(fromPayroll.IZNOS9, fromRows.IZNOS9);
  EXPECT_EQ(fromPayroll.IZNOS10, fromRows.IZNOS10);
  EXPECT_EQ(fromPayroll.IZNOS11, fromRows.IZNOS11);
  EXPECT_EQ(fromPayroll.BROJOSIG, 3);
}

}  // namespace kdm
