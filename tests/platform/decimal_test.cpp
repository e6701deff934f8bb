#include <gtest/gtest.h>

#include "platform/date.h"
#include "platform/decimal.h"

namespace kdm {

static Decimal dec(const char* s) { return *Decimal::parse(s); }

TEST(Decimal, ParsesAndFormatsExactly) {
  struct Case {
    const char* in;
    int decimals;
    const char* out;
  } cases[] = {
      {"0", 2, "0.00"},       {"-12.5", 2, "-12.50"},  {"12345.67", 2, "12345.67"}, {".5", 2, "0.50"},
      {"+7", 0, "7"},         {"0.005", 2, "0.01"},    {"-0.005", 2, "-0.01"},      {"0.0049", 2, "0.00"},
      {"1.2345", 4, "1.2345"}, {"99999999999.99", 2, "99999999999.99"},
  };
  for (auto& c : cases) EXPECT_EQ(dec(c.in).toString(c.decimals), c.out) << c.in;
  for (const char* bad : {"", "-", ".", "1,5", "1.2.3", " 1", "1e5", "1.23456", "1234567890123456"})
    EXPECT_FALSE(Decimal::parse(bad)) << bad;
  EXPECT_FALSE(Decimal::parse("1.234", 2));
}

TEST(Decimal, PercentRoundsHalfAwayFromZero) {
  EXPECT_EQ(dec("333.33").percent(dec("5.00")), dec("16.67"));
  EXPECT_EQ(dec("333.33").percent(dec("15.00")), dec("50.00"));  // 49.9995
  EXPECT_EQ(dec("-333.33").percent(dec("5.00")), dec("-16.67"));
  EXPECT_EQ(dec("10.10").percent(dec("5.00")), dec("0.51"));      // 0.505
  EXPECT_EQ(dec("99999999999.99").percent(dec("20.00")), dec("19999999999.998").rounded(2));
  EXPECT_EQ(dec("2.5").rounded(0), dec("3"));
  EXPECT_EQ(dec("-2.5").rounded(0), dec("-3"));
}

TEST(Decimal, FitsItsField) {
  EXPECT_TRUE(dec("99999999999.99").fits(13, 2));
  EXPECT_FALSE(dec("100000000000").fits(13, 2));
  EXPECT_FALSE(dec("1.005").fits(13, 2));
  EXPECT_TRUE(dec("-999.99").fits(5, 2));
  EXPECT_FALSE(dec("1000").fits(5, 2));
}

TEST(Date, CalendarAndText) {
  auto d = Date::fromYmd(2008, 2, 29);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->iso(), "2008-02-29");
  EXPECT_EQ(d->dmy(), "29.02.2008");
  EXPECT_FALSE(Date::fromYmd(2005, 2, 29));
  EXPECT_FALSE(Date::fromYmd(2005, 4, 31));
  EXPECT_EQ(Date::parseIso("2005-12-31")->dayNumber() + 1, Date::parseIso("2006-01-01")->dayNumber());
  EXPECT_EQ(Date::parseDmy("01.03.2005"), Date::parseIso("2005-03-01"));
  EXPECT_FALSE(Date::parseIso("2005-13-01"));
  EXPECT_FALSE(Date::parseIso("05-01-01"));
  EXPECT_EQ(Date().iso(), "");
  EXPECT_GT(Date::fromYmd(1, 1, 1)->dayNumber(), 0);  // 0 stays "no date"
}

}  // namespace kdm
