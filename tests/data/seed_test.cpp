#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "checks/checks.h"
#include "data/records.h"
#include "data/seed.h"
#include "data/table_csv.h"
#include "temp_dir.h"

namespace kdm {

// Every record of a label as a typed struct.
template <class T>
std::vector<T> all(DataStore& store) {
  File<T> f(store);
  EXPECT_FALSE(f.open());
  std::vector<T> out;
  EXPECT_FALSE(f.setStart(""));
  while (!f.next()) out.push_back(f.rec);
  return out;
}

class Seed : public testing::Test {
 protected:
  test::TempDir dir;
  std::unique_ptr<DataStore> store;
  void SetUp() override {
    InitResult result;
    ASSERT_FALSE(initDataDirectory(dir.path(), result));
    ASSERT_TRUE(result.created);
    ASSERT_FALSE(DataStore::open(dir.path(), false, store));
  }
};

TEST_F(Seed, MunicipalitiesAreTheRealOnesWithValidCodes) {
  auto opc = all<TBOPCINE>(*store);
  ASSERT_EQ(opc.size(), 556u);
  Globals GLO;
  std::set<std::int16_t> numbers;
  for (auto& o : opc) {
    EXPECT_TRUE(MunicipalityCodeCheck(GLO, o.SIFRA)) << o.SIFRA << " " << o.NAZIV;
    EXPECT_TRUE(o.GRAD == "D" || o.GRAD == "N") << o.NAZIV;
    numbers.insert(o.REDBROJ);
  }
  EXPECT_EQ(numbers.size(), 556u);
  File<TBOPCINE> f(*store);
  ASSERT_FALSE(f.open());
  f.rec.SIFRA = "1333";
  ASSERT_FALSE(f.get("KEYSIFRA"));
  EXPECT_EQ(f.rec.NAZIV, "ZAGREB");
  EXPECT_EQ(f.rec.GRAD, "D");
  EXPECT_EQ(f.rec.POREZ.toString(), "23.00");
}

TEST_F(Seed, CodeTablesControlMatrixAndTreeAreCoherent) {
  std::set<std::string> vob, vup, tbo, sta;
  for (auto& r : all<TBVRSOBV>(*store)) vob.insert(r.SIFRA);
  for (auto& r : all<TBVRSUPL>(*store)) vup.insert(r.SIFRA);
  for (auto& r : all<TBOSNOBR>(*store)) tbo.insert(r.SIFRA);
  for (auto& r : all<TBOZNSTA>(*store)) sta.insert(r.SIFRA);
  for (auto code : {"01", "02", "17", "21", "30", "31"}) EXPECT_TRUE(vob.count(code)) << code;
  for (auto code : {"03", "05", "06", "88", "99"}) EXPECT_TRUE(vup.count(code)) << code;
  EXPECT_TRUE(sta.count(""));  // the blank service mark

  const std::set<std::string> codes = {"= 0", ">=0", ">0", "<=>0"};
  std::set<std::string> matrix;
  for (auto& v : all<VEZNATAB>(*store)) {
    EXPECT_TRUE(vob.count(v.VOB) && vup.count(v.VOI) && tbo.count(v.OO)) << v.VOB << v.VOI << v.OO;
    for (auto* c : {&v.OBRMJE, &v.GODINA, &v.DANOD, &v.DANDO, &v.PLAGOD, &v.PLAMJE, &v.IZNOS7, &v.IZNOS9,
                    &v.IZNOS10, &v.IZNOS11})
      EXPECT_TRUE(codes.count(*c) && *c != "<=>0") << *c;
    EXPECT_TRUE(codes.count(v.IZNOS8));
    matrix.insert(v.VOB + v.VOI + v.OO);
  }
  std::set<std::string> level1, level2, level3;
  for (auto& s1 : all<STABLO01>(*store)) level1.insert(s1.VOB);
  for (auto& s2 : all<STABLO02>(*store)) {
    EXPECT_TRUE(level1.count(s2.VOB)) << s2.VOB;
    level2.insert(s2.VOB + s2.VOI);
  }
  for (auto& s3 : all<STABLO03>(*store)) {
    EXPECT_TRUE(level2.count(s3.VOB + s3.VOI)) << s3.VOB << s3.VOI;
    level3.insert(s3.VOB + s3.VOI + s3.OO);
  }
  EXPECT_EQ(level3, matrix);

  std::map<std::string, std::pair<std::string, std::string>> rates;  // pillar I, II by membership
  for (auto& s : all<TBSTOPE>(*store)) {
    EXPECT_TRUE(matrix.count(s.VRSTAOBVEZNIKA + s.VRSTOBRACUNA + s.OSNOVOBRA)) << s.OSNOVOBRA;
    EXPECT_TRUE(sta.count(s.STAZ));
    if (s.STAZ.empty()) rates[s.CLANDN] = {s.PRVISTUP1.toString(), s.DRUGISTUP1.toString()};
  }
  EXPECT_EQ(rates["D"], std::make_pair(std::string("15.00"), std::string("5.00")));
  EXPECT_EQ(rates["N"], std::make_pair(std::string("20.00"), std::string("0.00")));
}

TEST_F(Seed, ParametersCarryThePlaceholderAndInitTwiceChangesNothing) {
  auto apl = all<APLPARAM>(*store);
  ASSERT_EQ(apl.size(), 1u);
  EXPECT_EQ(apl[0].RB, 1);
  EXPECT_EQ(apl[0].JMBG, "1111111111111");
  EXPECT_EQ(apl[0].NAZSJED, "ZAGREB");
  EXPECT_EQ(apl[0].SIFSJED, "1333");

  std::ostringstream before, after;
  for (auto& d : catalogue())
    if (d.kind == FileKind::Keyed && !d.neverCreated) exportCsv(*store, d, nullptr, before);
  store.reset();
  InitResult again;
  ASSERT_FALSE(initDataDirectory(dir.path(), again));
  EXPECT_FALSE(again.created);
  EXPECT_TRUE(again.filled.empty());
  ASSERT_FALSE(DataStore::open(dir.path(), false, store));
  for (auto& d : catalogue())
    if (d.kind == FileKind::Keyed && !d.neverCreated) exportCsv(*store, d, nullptr, after);
  EXPECT_EQ(before.str(), after.str());
}

}  // namespace kdm
