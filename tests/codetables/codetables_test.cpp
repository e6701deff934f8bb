#include "codetables/codetables.h"

#include <gtest/gtest.h>

#include "data/seed.h"
#include "temp_dir.h"

namespace kdm {
namespace {

struct CodeTables : ::testing::Test {
  test::TempDir dir;
  std::unique_ptr<DataStore> store;
  Globals GLO;
  CollectingReporter out;
  void SetUp() override {
    InitResult r;
    ASSERT_FALSE(initDataDirectory(dir.path(), r));
    ASSERT_FALSE(DataStore::open(dir.path(), false, store));
  }
};

TEST_F(CodeTables, TypesOfCalculation) {
  TBVRSUPL vup;
  vup.SIFRA = "7";
  EXPECT_FALSE(leaveCalculationTypeCode(vup, out));
  EXPECT_EQ(out.messages.back(), "Greška. Šifra mora sadržavati 2 (dva) znaka");
  EXPECT_EQ(out.focused.back(), "VUP:SIFRA");
  vup.SIFRA = "77";
  EXPECT_TRUE(leaveCalculationTypeCode(vup, out));

  // A code or a description (any letter case) that exists: refused, and
  // what was typed stays.
  vup.SIFRA = "01";
  vup.OPIS = "Nova";
  EXPECT_FALSE(checkNewCalculationType(*store, vup, out));
  EXPECT_EQ(out.messages.back(), "Greška. Dupla šifra");
  EXPECT_EQ(out.focused.back(), "VUP:SIFRA");
  File<TBVRSUPL> one(*store);
  ASSERT_FALSE(one.open());
  one.rec.SIFRA = "01";
  ASSERT_FALSE(one.get("KEYSIFRA"));
  vup.SIFRA = "77";
  vup.OPIS = one.rec.OPIS;
  for (char& c : vup.OPIS) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_FALSE(checkNewCalculationType(*store, vup, out));
  EXPECT_EQ(out.messages.back(), "Greška. Dupli naziv pojma");
  EXPECT_EQ(out.focused.back(), "VUP:OPIS");
  EXPECT_EQ(vup.SIFRA, "77");
  vup.OPIS = "Posve nova vrsta";
  EXPECT_TRUE(checkNewCalculationType(*store, vup, out));
}

TEST_F(CodeTables, MunicipalityCodes) {
  struct Case {
    const char* code;
    const char* message;  // nullptr: accepted
    bool beep;
  } cases[] = {
      {"123", "Greška. Šifra općine/grada ima 4 znaka", false},
      {"12a4", "Pogrešna šifre općine/grada", true},
      {"1232", "Pogrešan šifra općine/grada", true},
      {"1236", nullptr, false},
      {"0000", nullptr, false},
  };
  for (const Case& c : cases) {
    out = CollectingReporter();
    TBOPCINE opc;
    opc.SIFRA = c.code;
    EXPECT_EQ(leaveMunicipalityCode(GLO, opc, out), c.message == nullptr) << c.code;
    if (!c.message) continue;
    EXPECT_EQ(out.messages, std::vector<std::string>{c.message}) << c.code;
    EXPECT_EQ(out.focused, std::vector<std::string>{"OPC:SIFRA"}) << c.code;
    EXPECT_EQ(out.beeps, c.beep ? 1 : 0) << c.code;
  }
}

TEST_F(CodeTables, ShortDescriptionsOfCodes) {
  EXPECT_EQ(codeShortDescription(*store, "TBVRSOBV", "01"), "Pravna osoba (poslodavac)");
  EXPECT_EQ(codeShortDescription(*store, "TBVRSOBV", "xx"), "");
  EXPECT_NE(codeShortDescription(*store, "TBOSNOBR", "11"), "");
  EXPECT_EQ(codeShortDescription(*store, "TBOPCINE", "1236"), "");  // no short description there
}

}  // namespace
}  // namespace kdm
