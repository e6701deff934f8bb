#include <gtest/gtest.h>

#include <sstream>

#include "data/table_csv.h"
#include "data/text_label.h"
#include "platform/csv.h"
#include "temp_dir.h"

namespace kdm {

class TableCsv : public testing::Test {
 protected:
  test::EmptyStore s;
  std::string exported(const std::string& label, const std::string& key = "") {
    const LabelDef* def = findLabel(label);
    std::ostringstream out;
    EXPECT_FALSE(exportCsv(*s.store, *def, key.empty() ? nullptr : def->key(key), out));
    return out.str();
  }
  Error import(const std::string& label, const std::string& csv, std::int64_t* n = nullptr) {
    std::int64_t stored = 0;
    Error e = importCsv(*s.store, *findLabel(label), csv, stored);
    if (n) *n = stored;
    return e;
  }
};

TEST_F(TableCsv, ImportSubsetInAnyOrderThenExportInKeyOrder) {
  std::int64_t n = 0;
  ASSERT_FALSE(import("TBOPCINE",
                      "SIFRA,NAZIV,POREZ\n"
                      "1333,ZAGREB,23\n"
                      "\"0019\",\"ANDRIJAŠEVCI\",20.5\n"
                      "3433,\"SPLIT, GRAD\",\n",
                      &n));
  EXPECT_EQ(n, 3);
  EXPECT_EQ(exported("TBOPCINE"),
            "REDBROJ,GRAD,NAZIV,SIFRA,POREZ,PRIREZ\r\n"
            "1,,ZAGREB,1333,23.00,0.00\r\n"
            "2,,ANDRIJAŠEVCI,0019,20.50,0.00\r\n"
            "3,,\"SPLIT, GRAD\",3433,0.00,0.00\r\n");
  EXPECT_EQ(exported("TBOPCINE", "KEYNAZIV"),
            "REDBROJ,GRAD,NAZIV,SIFRA,POREZ,PRIREZ\r\n"
            "2,,ANDRIJAŠEVCI,0019,20.50,0.00\r\n"
            "3,,\"SPLIT, GRAD\",3433,0.00,0.00\r\n"
            "1,,ZAGREB,1333,23.00,0.00\r\n");
}

TEST_F(TableCsv, DatesAndTrailingBlanksRoundTrip) {
  ASSERT_FALSE(import("TBPOSLOD", "REDBROJ,NAZIV,DANOD,DANDO\n5,\"Obrt \"\"Ana\"\"\",2005-01-31,\n"));
  ASSERT_FALSE(import("VEZNATAB", "VOB,VOI,OO,OBRMJE,IZNOS8\n01,01,11,\">0  \",<=>0\n"));
  std::string pos = exported("TBPOSLOD");
  EXPECT_NE(pos.find("5,,,,\"Obrt \"\"Ana\"\"\",,,,,,0,0,2005-01-31,\r\n"), std::string::npos) << pos;
  EXPECT_NE(exported("VEZNATAB").find("01,01,11,>0,,,,,,,<=>0,,,\r\n"), std::string::npos);
}

TEST_F(TableCsv, FirstFailingRowNamedAndNothingStored) {
  struct Case {
    const char* csv;
    const char* message;
  } cases[] = {
      {"SIFRA,NAZIV\n1333,ZAGREB\n1333,SPLIT\n", "line 3: Creating a record with a duplicate key: OPC:KeySifra"},
      {"SIFRA,NAZIV\n1333,ZAGREB\n12345,SPLIT\n", "line 3: OPC:SIFRA: text longer than 4 characters"},
      {"SIFRA,NAZIV,POREZ\n1333,ZAGREB,1.234\n", "line 2: OPC:POREZ: \"1.234\" is not a number with at most its decimals"},
      {"SIFRA,NAZIV,REDBROJ\n1333,ZAGREB,x\n", "line 2: OPC:REDBROJ: \"x\" is not a whole number"},
      {"SIFRA,NAZIV\n1333,ZAGREB,EXTRA\n", "line 2: 3 fields where the header has 2"},
      {"SIFRA,NAME\n", "line 1: TBOPCINE has no field \"NAME\""},
      {"SIFRA,SIFRA\n", "line 1: field \"SIFRA\" is named twice"},
      {"SIFRA,NAZIV\n1333,\"ZAGREB\n", "line 2: a quoted field is not closed"},
      {"SIFRA,NAZIV\n1333,ZAG\"REB\n", "line 2: a quote inside an unquoted field"},
      {"SIFRA,NAZIV\n1333,\xFF\xFE\n", "line 2: not UTF-8 text (is this a CSV file?)"},
      {"SIFRA,NAZIV\n1333,Ωmega\n", "line 2: OPC:NAZIV: Text cannot be written in code page 1250"},
      {"", "line 1: no header line"},
  };
  for (auto& c : cases) {
    std::int64_t n = -1;
    Error e = import("TBOPCINE", c.csv, &n);
    EXPECT_EQ(e.text, c.message) << c.csv;
  }
  EXPECT_EQ(exported("TBOPCINE"), "REDBROJ,GRAD,NAZIV,SIFRA,POREZ,PRIREZ\r\n");
  EXPECT_EQ(import("TBOSIGUR", "GODOBRA\n2005\n2000\n").text, "line 3: Obračunska godina must be between 2001 and 2100");
  EXPECT_EQ(exported("TBOSIGUR").find('\n'), exported("TBOSIGUR").size() - 1);  // header only
}

TEST_F(TableCsv, TextLabelsExportTheirLines) {
  TextLabelFile f(*s.store, *findLabel("TBIZLAZ2"));
  ASSERT_FALSE(f.openEmpty());
  Record r(f.def());
  r.setText(0, "   12");
  r.setText(2, "KD5IBRT");
  r.setText(4, "F");
  r.setText(6, "Poruka");
  ASSERT_FALSE(f.append(r));
  ASSERT_FALSE(f.close());
  EXPECT_EQ(exported("TBIZLAZ2"), "REDBROJ,ZNA1,KOLONA,ZNA2,TIP,ZNA3,GRESKA\r\n\"   12\",,KD5IBRT,,F,,Poruka\r\n");
  ASSERT_FALSE(f.openRead());
  Record back;
  ASSERT_TRUE(f.read(back));
  EXPECT_EQ(back.text(6), "Poruka" + std::string(64, ' '));
  EXPECT_EQ(import("TBIZLAZ2", "REDBROJ\n1\n").kind(), ErrorCode::InvalidInput);
}

TEST(Csv, FieldsQuotedOnlyWhenNeeded) {
  EXPECT_EQ(csvLine({"a", "b,c", "d\"e", " f", "", "g\nh"}), "a,\"b,c\",\"d\"\"e\",\" f\",,\"g\nh\"\r\n");
  CsvReader r("a,\"b\r\nc\",d\r\n\"\"\r\n");
  std::vector<std::string> f;
  ASSERT_TRUE(r.next(f));
  EXPECT_EQ(f, (std::vector<std::string>{"a", "b\r\nc", "d"}));
  ASSERT_TRUE(r.next(f));
  EXPECT_EQ(r.line(), 3u);
  EXPECT_EQ(f, (std::vector<std::string>{""}));
  EXPECT_FALSE(r.next(f));
}

}  // namespace kdm
