// A data directory with the delivered code tables, an authorised person,
// and payroll files written line by line.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "data/seed.h"
#include "data/text_label.h"
#include "import/results.h"
#include "platform/text.h"
#include "submission/fixed_layout.h"
#include "temp_dir.h"

namespace kdm::test {

// A valid MBG from its first twelve digits; empty when no check digit
// can make one.
inline std::string mbg(const std::string& twelve) {
  static const int w[] = {7, 6, 5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
  int s = 0;
  for (int i = 0; i < 12; ++i) s += w[i] * (twelve[i] - '0');
  int r = s % 11;
  if (r == 1) return {};
  return twelve + static_cast<char>('0' + (r == 0 ? 0 : 11 - r));
}

inline std::string amount(const char* value) { return encodeAmount(*Decimal::parse(value), '0'); }

// One payroll line, by default a good line of obligor 12345679/0000 for
// May 2005, type 01, days 1 to 31, IV.8 1000.00 with the contributions of
// a pillar-II member.
struct PayrollLineFields {
  std::string RBOSOB = "00001", MB = "123456790000", MB2 = "", VRSOBV = "01", VRSTAUPLA = "01",
              IDENTIFIKATOR = "0001", GODOBRA = "2005", OBRMJE = "05", OBRRAZD1 = "01", OBRRAZD2 = "31",
              JMBG = "0101980000002", PREZIME = "Šimić Ivan", OPCINA = "1333", CLANDN = "D", OSNOVA1 = "11",
              OSNOVA3 = " ", IZNOS7 = amount("1500.00"), IZNOS8 = amount("1000.00"), IZNOS9 = amount("150.00"),
              IZNOS10 = amount("50.00"), IZNOS11 = amount("1000.00");

  // The line as the file holds it: CP1250 bytes, 194 characters.
  std::string raw() const {
    std::vector<std::string> values = {RBOSOB,  MB,     MB2,     VRSOBV,  VRSTAUPLA, IDENTIFIKATOR, GODOBRA,
                                       OBRMJE,  OBRRAZD1, OBRRAZD2, JMBG, PREZIME,   OPCINA,        CLANDN,
                                       OSNOVA1, OSNOVA3, IZNOS7,  IZNOS8,  IZNOS9,    IZNOS10,       IZNOS11};
    std::string out;
    EXPECT_TRUE(joinFixed(values, findLabel("TBUPLATE")->widths(), out));
    return out;
  }
};

class PayrollFixture : public testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<DataStore> store;
  Globals GLO;
  CollectingReporter out;

  void SetUp() override {
    setenv("KDM_TODAY", "2005-06-15", 1);
    InitResult r;
    ASSERT_FALSE(initDataDirectory(dir.path(), r));
    ASSERT_FALSE(DataStore::open(dir.path(), false, store));
    File<APLPARAM> apl(*store);
    apl.open();
    apl.rec.RB = 1;
    ASSERT_FALSE(apl.get("KEYRB"));
    apl.rec.JMBG = "1234567890125";
    ASSERT_FALSE(apl.put());
  }
  void TearDown() override { unsetenv("KDM_TODAY"); }

  void obligor(std::int16_t nr, const std::string& type = "01", const std::string& mb01 = "12345679",
               const std::string& jmbg = "0000000000000", std::int16_t lastSequence = 0) {
    File<TBPOSLOD> pos(*store);
    pos.open();
    pos.rec.REDBROJ = nr;
    pos.rec.NAZIV = "Obveznik " + std::to_string(nr);
    pos.rec.VRSTOBVEZNIKA = type;
    pos.rec.MB01 = mb01;
    pos.rec.MB02 = "0000";
    pos.rec.JMBG = jmbg;
    pos.rec.IDENTIFIKATOR = lastSequence;
    ASSERT_FALSE(pos.add());
  }

  // Writes raw lines, each ended by CR LF.
  std::string payrollFile(const std::vector<std::string>& rawLines, const std::string& name = "placa.txt") {
    std::string path = dir.file(name);
    std::ofstream f(path, std::ios::binary);
    for (auto& l : rawLines) f << l << "\r\n";
    return path;
  }
  std::string payrollFile(const std::vector<PayrollLineFields>& lines, const std::string& name = "placa.txt") {
    std::vector<std::string> raw;
    for (auto& l : lines) raw.push_back(l.raw());
    return payrollFile(raw, name);
  }

  // The error list as "RB JMBG: OPIS" lines.
  std::vector<std::string> findings() {
    std::vector<std::string> list;
    File<TBGRESKE> gre(*store);
    gre.open();
    gre.setStart("KEYREDBROJ");
    while (!gre.next()) list.push_back(std::to_string(gre.rec.RB) + " " + gre.rec.JMBG + ": " + gre.rec.OPIS);
    return list;
  }
  std::int64_t count(const char* label) {
    RecordFile f(*store, label);
    f.open();
    return f.count();
  }
  std::string lastMessage() const { return out.messages.empty() ? "" : out.messages.back(); }
};

}  // namespace kdm::test
