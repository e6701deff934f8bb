#include "import/payroll_file.h"

#include <gtest/gtest.h>

#include "payroll_fixture.h"
#include "platform/cp1250.h"

namespace kdm {

TEST(PayrollFile, Amounts) {
  struct Case {
    const char* field;
    const char* value;  // nullptr: not valid
  } cases[] = {
      {"000000001234567", "12345.67"},
      {"-00000000001250", "-12.50"},
      {"+00000000001250", "12.50"},
      {" 00000000001250", "12.50"},
      {"099999999999999", "999999999999.99"},
      {"-0000000000125 ", nullptr},  // thirteen digits and a trailing blank
      {"0000000012.5000", nullptr},
      {"00000000 001250", nullptr},
      {"0-0000000001250", nullptr},
      {"X00000000001250", nullptr},
      {"00000000001250", nullptr},  // fourteen characters
      {"               ", nullptr},
  };
  for (auto& c : cases) {
    auto a = payrollAmount(c.field);
    if (!c.value) {
      EXPECT_FALSE(a) << c.field;
      continue;
    }
    ASSERT_TRUE(a) << c.field;
    EXPECT_EQ(a->toString(2), c.value) << c.field;
  }
}

TEST(PayrollFile, NumbersOfTextFields) {
  EXPECT_EQ(fieldNumber("2005"), 2005);
  EXPECT_EQ(fieldNumber("05"), 5);
  EXPECT_EQ(fieldNumber(" 5"), 5);
  EXPECT_EQ(fieldNumber("  "), 0);
  EXPECT_EQ(fieldNumber("-1"), 0);
  EXPECT_EQ(fieldNumber("2O05"), 0);
  EXPECT_EQ(linePaymentType("1"), "01");
  EXPECT_EQ(linePaymentType("01"), "01");
  EXPECT_EQ(linePaymentType("0"), "00");
  EXPECT_EQ(linePaymentType(""), "00");
  EXPECT_EQ(linePaymentType("99"), "99");
}

TEST(PayrollFile, LinesAreCutByteForByte) {
  test::PayrollLineFields fields;
  fields.PREZIME = "Čađež Šime";
  std::string raw = fields.raw();
  ASSERT_EQ(raw.size(), kPayrollLineWidth);
  // A byte CP1250 leaves undefined, in the name.
  raw[61 + 11] = '\x81';
  TBUPLATE line;
  decodeLine(raw + "whatever follows is ignored", line);
  EXPECT_EQ(line.MB, "123456790000");
  EXPECT_EQ(line.JMBG, "0101980000002");
  EXPECT_EQ(trimRight(line.PREZIME), "Čađež Šime \u0081");
  std::string back;
  ASSERT_TRUE(utf8ToCp1250(line.PREZIME, back));
  EXPECT_EQ(back, raw.substr(61, 50));
  EXPECT_EQ(line.IZNOS11, fields.IZNOS11);

  // A line of 120 characters leaves the amounts from IV.8 on blank.
  decodeLine(raw.substr(0, 120), line);
  EXPECT_EQ(line.IZNOS8, std::string(15, ' '));
  EXPECT_EQ(line.IZNOS11, std::string(15, ' '));
  EXPECT_FALSE(payrollAmount(line.IZNOS7));
  decodeLine("", line);
  EXPECT_EQ(line.PREZIME, std::string(50, ' '));
}

TEST(PayrollFile, Selection) {
  TBPOSLOD pos;
  pos.MB01 = "12345679";
  pos.MB02 = "0000";
  pos.JMBG = "";
  PayrollSelection s;
  s.obligor = PayrollObligor::of(pos);
  s.year = 2005;
  s.month = 5;
  s.dayFrom = 1;
  s.dayTo = 31;
  s.type = linePaymentType("01");
  struct Case {
    const char* what;
    void (*change)(test::PayrollLineFields&);
    bool selected;
  } cases[] = {
      {"the obligor's line", [](test::PayrollLineFields&) {}, true},
      {"MBG of zeros for an obligor without one", [](test::PayrollLineFields& l) { l.MB2 = "0000000000000"; }, true},
      {"another MB", [](test::PayrollLineFields& l) { l.MB = "999999990000"; }, false},
      {"another second part", [](test::PayrollLineFields& l) { l.MB = "123456790001"; }, false},
      {"an MBG where the obligor has none", [](test::PayrollLineFields& l) { l.MB2 = "1234567890125"; }, false},
      {"another year", [](test::PayrollLineFields& l) { l.GODOBRA = "2006"; }, false},
      {"another month", [](test::PayrollLineFields& l) { l.OBRMJE = "06"; }, false},
      {"another type", [](test::PayrollLineFields& l) { l.VRSTAUPLA = "02"; }, false},
      {"a period inside", [](test::PayrollLineFields& l) { l.OBRRAZD1 = "01";
                                         l.OBRRAZD2 = "15";
                                       }, true},
  };
  for (auto& c : cases) {
    test::PayrollLineFields fields;
    c.change(fields);
    TBUPLATE line;
    decodeLine(fields.raw(), line);
    EXPECT_EQ(s.selects(line), c.selected) << c.what;
  }

  // The whole period of the line must lie inside the chosen one.
  test::PayrollLineFields fields;
  fields.OBRRAZD1 = "10";
  fields.OBRRAZD2 = "20";
  TBUPLATE line;
  decodeLine(fields.raw(), line);
  s.dayTo = 15;
  EXPECT_FALSE(s.selects(line));
  // With the default period 0 to 0 only lines without days are selected.
  s.dayFrom = s.dayTo = 0;
  EXPECT_FALSE(s.selects(line));
  fields.OBRRAZD1 = "00";
  fields.OBRRAZD2 = "  ";
  decodeLine(fields.raw(), line);
  EXPECT_TRUE(s.selects(line));
  // A line whose MB is not numeric belongs to an obligor without one.
  pos.MB01 = "";
  pos.MB02 = "";
  s.obligor = PayrollObligor::of(pos);
  fields.MB = "ABC";
  decodeLine(fields.raw(), line);
  EXPECT_TRUE(s.selects(line));
}

class PayrollStaging : public test::PayrollFixture {};

TEST_F(PayrollStaging, TheStagedCopyIsReadWhateverTheLinesHold) {
  std::string bytes = "short\r\n" + test::PayrollLineFields().raw() + "\n" + std::string("\0\xff\x81\r", 4) +
                      "\r\n\r\n" + std::string(100000, 'x') + "\r\nlast without line end";
  std::string path = dir.file("odd.txt");
  {
    std::ofstream f(path, std::ios::binary);
    f << bytes;
  }
  ASSERT_TRUE(stagePayrollFile(*store, path, out));
  PayrollReader reader;
  ASSERT_TRUE(openStagedPayroll(*store, reader, out));
  TBUPLATE line;
  std::vector<std::string> rbosob;
  while (reader.next(line)) rbosob.push_back(line.RBOSOB);
  EXPECT_FALSE(reader.error());
  std::string binary = cp1250ToUtf8(std::string("\0\xff\x81\r ", 5));
  EXPECT_EQ(rbosob, (std::vector<std::string>{"short", "00001", binary, "     ", "xxxxx", "last "}));
}

TEST_F(PayrollStaging, AMissingFileKeepsThePreviousCopy) {
  std::string good = payrollFile(std::vector<std::string>{"first"});
  ASSERT_TRUE(stagePayrollFile(*store, good, out));
  EXPECT_FALSE(stagePayrollFile(*store, dir.file("nowhere.txt  "), out));
  EXPECT_EQ(lastMessage(), "Greška kod preuzimanja podataka " + dir.file("nowhere.txt"));
  EXPECT_FALSE(stagePayrollFile(*store, dir.path(), out));  // a directory
  PayrollReader reader;
  ASSERT_TRUE(openStagedPayroll(*store, reader, out));
  TBUPLATE line;
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(line.RBOSOB, "first");
}

}  // namespace kdm
