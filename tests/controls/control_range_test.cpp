#include <gtest/gtest.h>

#include <cstdlib>

#include "app/globals.h"
#include "data/records.h"

namespace kdm {

class ControlRanges_ : public testing::Test {
 protected:
  void SetUp() override { setenv("KDM_TODAY", "2005-06-15", 1); }
  void TearDown() override { unsetenv("KDM_TODAY"); }
  static VEZNATAB row(const std::string& code) {
    VEZNATAB v;
    for (auto* f : {&v.OBRMJE, &v.GODINA, &v.DANOD, &v.DANDO, &v.PLAGOD, &v.PLAMJE, &v.IZNOS7, &v.IZNOS8, &v.IZNOS9,
                    &v.IZNOS10, &v.IZNOS11})
      *f = code;
    return v;
  }
  static Decimal dec(const char* s) { return *Decimal::parse(s); }
  Globals GLO;
};

TEST_F(ControlRanges_, AmountsMonthsDaysAndYears) {
  ControlRangeLoad(GLO, row(">0  "));
  auto& r = GLO.Ranges;
  EXPECT_TRUE(r.IZNOS7.contains(dec("0.01")));
  EXPECT_FALSE(r.IZNOS7.contains(dec("0")));
  EXPECT_TRUE(r.IZNOS11.contains(dec("9999999999999.99")));
  EXPECT_FALSE(r.DANOD.contains(0));
  EXPECT_TRUE(r.DANDO.contains(31));
  EXPECT_FALSE(r.DANDO.contains(32));
  EXPECT_FALSE(r.OBRMJE.contains(0));
  EXPECT_TRUE(r.PLAMJE.contains(12));

  ControlRangeLoad(GLO, row(">=0 "));
  EXPECT_TRUE(r.IZNOS9.contains(dec("0")));
  EXPECT_FALSE(r.IZNOS9.contains(dec("-0.01")));
  EXPECT_TRUE(r.OBRMJE.contains(0));
  // Years: 2004 to the current year plus one, with today in 2005.
  for (int y : {2004, 2005, 2006}) EXPECT_TRUE(r.GODINA.contains(y)) << y;
  for (int y : {2003, 2007}) EXPECT_FALSE(r.PLAGOD.contains(y)) << y;

  ControlRangeLoad(GLO, row("= 0 "));
  EXPECT_TRUE(r.IZNOS10.contains(dec("0")));
  EXPECT_FALSE(r.IZNOS10.contains(dec("0.01")));
  EXPECT_FALSE(r.GODINA.contains(2005));
}

TEST_F(ControlRanges_, UnknownBlankAndAnyCodesKeepThePreviousBounds) {
  EXPECT_FALSE(GLO.Ranges.IZNOS8.contains(dec("1")));  // 0 and 0 before the first load
  ControlRangeLoad(GLO, row(">0  "));
  VEZNATAB v = row(">=0 ");
  v.IZNOS8 = "<=>0";
  v.IZNOS7 = "";
  v.IZNOS9 = "?";
  ControlRangeLoad(GLO, v);
  EXPECT_FALSE(GLO.Ranges.IZNOS8.contains(dec("0")));  // still ">0  "
  EXPECT_TRUE(GLO.Ranges.IZNOS8.allows(dec("-5")));     // but unchecked: this row sets none
  EXPECT_FALSE(GLO.Ranges.IZNOS10.allows(dec("-0.01")));
  EXPECT_FALSE(GLO.Ranges.IZNOS7.contains(dec("0")));
  EXPECT_FALSE(GLO.Ranges.IZNOS9.contains(dec("0")));
  EXPECT_TRUE(GLO.Ranges.IZNOS10.contains(dec("0")));  // loaded as ">=0 "
  ControlRangeLoad(GLO, row(">0"));  // trailing blanks as the store keeps them
  EXPECT_TRUE(GLO.Ranges.DANOD.contains(1));
  EXPECT_FALSE(GLO.Ranges.DANOD.contains(0));
}

}  // namespace kdm
