#include "register/demo.h"

#include <gtest/gtest.h>

#include "app/parameters.h"
#include "checks/checks.h"
#include "forms/form_creation.h"
#include "register/employee.h"
#include "register/obligor.h"
#include "register/register_fixture.h"

namespace kdm {
namespace {

using namespace test;

class DemoSetTest : public RegisterStore {
 protected:
  std::int64_t count(const char* label) {
    RecordFile f(*store, label);
    EXPECT_FALSE(f.open());
    return f.count();
  }
};

TEST_F(DemoSetTest, EveryRecordPassesItsChecksAndEachObligorFormsAForm) {
  DemoSet added;
  ASSERT_TRUE(fillDemoSet(GLO, *store, out, &added)) << testing::PrintToString(out.messages);
  EXPECT_EQ(added.obligors, 3);
  EXPECT_EQ(added.rows, 30);

  APLPARAM apl;
  ASSERT_TRUE(readParameters(*store, apl));
  EXPECT_NE(apl.JMBG, kPlaceholderJmbg);
  EXPECT_TRUE(MbgCheck(GLO, apl.JMBG));
  EXPECT_TRUE(checkParametersForSave(GLO, apl, out));

  const auto obligors = all<TBPOSLOD>("KEYREDBROJ");
  ASSERT_EQ(obligors.size(), 3u);
  std::vector<std::string> types;
  for (const TBPOSLOD& pos : obligors) {
    types.push_back(pos.VRSTOBVEZNIKA);
    EXPECT_TRUE(checkObligorForSave(GLO, *store, pos, out)) << pos.NAZIV;
  }
  EXPECT_EQ(types, (std::vector<std::string>{"01", "02", "17"}));
  EXPECT_TRUE(MbCheck(GLO, obligors[0].MB01));
  EXPECT_TRUE(MbgCheck(GLO, obligors[1].JMBG));

  const auto rows = all<TBZAPOSL>("KEYRBRFIRME");
  ASSERT_EQ(rows.size(), 30u);
  for (const TBZAPOSL& rad : rows) {
    SCOPED_TRACE(rad.PREZIME);
    EXPECT_EQ(rad.GODOBRA, 2005);
    EXPECT_EQ(rad.MJEOBRA, 6);
    EXPECT_EQ(rad.DODANA, 30);
    EXPECT_GT(rad.IZNOS9, Decimal());
    EXPECT_EQ(rad.IZNOS10 > Decimal(), rad.CLANDN == "D");
    EXPECT_TRUE(leaveRowJmbg(GLO, rad, out) && checkEmployeeRowForSave(GLO, *store, rad, out));
  }
  EXPECT_TRUE(out.messages.empty()) << testing::PrintToString(out.messages);

  for (std::int16_t nr = 1; nr <= 3; ++nr) {
    SCOPED_TRACE(nr);
    ASSERT_TRUE(openFormCreation(GLO, *store, out));
    ASSERT_TRUE(chooseObligor(GLO, *store, nr, out));
    GLO.VrsUpl = "01";
    GLO.ObrGodina = 2005;
    GLO.ObrMjesec = 6;
    GLO.DanOd = 1;
    GLO.DanDo = 30;
    EXPECT_TRUE(processObligor(GLO, *store, DeliveryMode::Single, out)) << testing::PrintToString(out.messages);
  }
}

TEST_F(DemoSetTest, RefusedWhereObligorsExistAndChangesNothing) {
  TBPOSLOD pos;
  primeNewObligor(pos);
  pos.REDBROJ = 5;
  pos.VRSTOBVEZNIKA = "17";
  pos.NAZIV = pos.ADRESA = pos.KONTAKT = "Postojeći";
  ASSERT_TRUE(saveObligor(GLO, *store, pos, true, out));

  EXPECT_FALSE(fillDemoSet(GLO, *store, out));
  ASSERT_EQ(out.messages.size(), 1u);
  EXPECT_NE(out.messages[0].find("already holds obligors"), std::string::npos);
  EXPECT_EQ(count("TBPOSLOD"), 1);
  EXPECT_EQ(count("TBZAPOSL"), 0);
  APLPARAM apl;
  ASSERT_TRUE(readParameters(*store, apl));
  EXPECT_EQ(apl.JMBG, kPlaceholderJmbg);
}

// A row refused late (no rates for the third obligor's rows) undoes the
// parameters, the obligors and the rows already saved.
TEST_F(DemoSetTest, AddedWholeOrNotAtAll) {
  {
    File<TBSTOPE> rates(*store);
    ASSERT_FALSE(rates.open());
    ASSERT_FALSE(rates.setStart("KEYOSNOV"));
    std::vector<std::pair<TBSTOPE, std::int64_t>> gone;
    while (!rates.next())
      if (rates.rec.VRSTAOBVEZNIKA == "17") gone.emplace_back(rates.rec, rates.rowid());
    ASSERT_FALSE(gone.empty());
    for (const auto& [rec, rowid] : gone) {
      rates.rec = rec;
      rates.setRowid(rowid);
      ASSERT_FALSE(rates.erase());
    }
  }
  EXPECT_FALSE(fillDemoSet(GLO, *store, out));
  EXPECT_FALSE(out.messages.empty());
  EXPECT_EQ(count("TBPOSLOD"), 0);
  EXPECT_EQ(count("TBZAPOSL"), 0);
  APLPARAM apl;
  ASSERT_TRUE(readParameters(*store, apl));
  EXPECT_EQ(apl.JMBG, kPlaceholderJmbg);
}

}  // namespace
}  // namespace kdm
