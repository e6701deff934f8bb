#include "data/picture.h"

#include <gtest/gtest.h>

namespace kdm {
namespace {

Picture pic(std::string_view text) {
  std::optional<Picture> p = parsePicture(text);
  EXPECT_TRUE(p) << text;
  return p.value_or(Picture{});
}

Decimal dec(std::string_view text) { return Decimal::parse(text).value(); }

std::string fmt(std::string_view picture, std::string_view amount) { return format(pic(picture), dec(amount)); }

std::optional<Decimal> typed(std::string_view picture, std::string_view text) {
  return parseNumber(pic(picture), text);
}

std::string dmy(int y, int m, int d) { return format(pic("D06."), Date::fromYmd(y, m, d).value()); }

TEST(Picture, NumbersAsThePicturesShowThem) {
  struct Case {
    const char* picture;
    const char* value;
    const char* shown;
  } cases[] = {
      // Amounts of the windows and printouts: points between thousands, a
      // decimal comma, the sign before the digits.
      {"N-18.`2", "-1234567.891", "     -1.234.567,89"},
      {"N-18.`2", "0", "              0,00"},
      {"N_12`2", "1234567.89", "1.234.567,89"},
      {"N_12`2", "999.5", "      999,50"},
      {"N-12.`2", "-1234.5", "   -1.234,50"},
      {"N-_15`2", "1000000", "   1.000.000,00"},
      {"N-_15`2", "-0.004", "           0,00"},
      {"N5`2", "12.345", "12,35"},
      {"N15`4", "-12.3456", "       -12,3456"},
      {"N15`4", "1000", "     1.000,0000"},
      {"N12.", "1234567", "   1.234.567"},
      // A decimal point: no thousands.
      {"N10.2", "1234567.89", "1234567.89"},
      {"n10.2", "-16.665", "    -16.67"},
      {"n20.2", "5", "                5.00"},
      {"n15.2", "-300", "        -300.00"},
      {"n-7.2", "-0.5", "  -0.50"},
      // Whole numbers, leading zeros, blanks.
      {"n3", "7", "  7"},
      {"n4", "1234", "1234"},
      {"n5", "0", "    0"},
      {"N3_", "12", " 12"},
      {"N4_", "999", " 999"},
      {"N04", "2005", "2005"},
      {"N02", "3", "03"},
      {"n03", "1", "001"},
      {"N05", "12", "00012"},
      {"N015`2", "31234.56", "00000031.234,56"},
      {"n5", "2.5", "    3"},
      {"n5", "-2.5", "   -3"},
      // Implied decimals, as the submission file writes its amounts.
      {"N014v2", "12345.67", "00000001234567"},
      {"N-015v2", "-12.5", "-00000000001250"},
      {"N-015v2", "12345.67", "000000001234567"},
      // Too wide for the picture.
      {"N_12`2", "12345678.9", "############"},
      {"N10.2", "12345678.9", "##########"},
      {"N02", "100", "##"},
      {"N-12.`2", "-1234567.89", "############"},
  };
  for (const Case& c : cases) EXPECT_EQ(fmt(c.picture, c.value), c.shown) << c.picture << " " << c.value;
}

TEST(Picture, NegativeKeepsItsSignWithoutMinusInThePicture) {
  EXPECT_EQ(fmt("N_12`2", "-1234.5"), "   -1.234,50");
  EXPECT_EQ(fmt("N05", "-12"), "-0012");
  EXPECT_EQ(format(pic("n4"), std::int64_t{-999}), "-999");
  EXPECT_EQ(format(pic("n4"), std::int64_t{-1000}), "####");
}

TEST(Picture, LargeSumsBeyondADecimal) {
  __int128 units = static_cast<__int128>(INT64_MAX) * 1000;
  EXPECT_EQ(formatUnits(pic("N-30.`2"), units), "    922.337.203.685.477.580,70");
  EXPECT_EQ(formatUnits(pic("N-30.`2"), -units), "   -922.337.203.685.477.580,70");
  EXPECT_EQ(formatUnits(pic("n15.2"), -units), "###############");
  EXPECT_EQ(format(pic("N-_15`2"), Decimal::fromUnits(INT64_MIN)), "###############");
}

TEST(Picture, Text) {
  EXPECT_EQ(format(pic("s8"), std::string_view("1234")), "1234    ");
  EXPECT_EQ(format(pic("s4"), std::string_view("Šimić Ivan")), "Šimi");
  EXPECT_EQ(format(pic("S6"), std::string_view("Žužić")), "Žužić ");
  EXPECT_EQ(format(pic("s40"), std::string_view("")), std::string(40, ' '));
}

TEST(Picture, DatesAndTimes) {
  EXPECT_EQ(dmy(2005, 3, 1), "01.03.2005");
  EXPECT_EQ(dmy(1, 1, 1), "01.01.0001");
  EXPECT_EQ(format(pic("D6."), Date::fromYmd(2005, 3, 1).value()), " 1.03.2005");
  EXPECT_EQ(format(pic("D6."), Date::fromYmd(2005, 12, 31).value()), "31.12.2005");
  EXPECT_EQ(format(pic("D06/"), Date::fromYmd(2005, 3, 1).value()), "01/03/2005");
  EXPECT_EQ(format(pic("D06"), Date::fromYmd(2005, 3, 1).value()), "01.03.2005");
  EXPECT_EQ(format(pic("D06."), Date{}), "          ");
  EXPECT_EQ(format(pic("D06."), Date::fromDayNumber(-5)), "##########");
  EXPECT_EQ(format(pic("D06."), Date::fromDayNumber(4000000)), "##########");

  EXPECT_EQ(formatTime(pic("T1"), 0), "00:00");
  EXPECT_EQ(formatTime(pic("T1"), 9 * 3600 + 5 * 60 + 59), "09:05");
  EXPECT_EQ(formatTime(pic("T1"), 23 * 3600 + 59 * 60), "23:59");
  EXPECT_EQ(formatTime(pic("T1"), 24 * 3600), "#####");
  EXPECT_EQ(formatTime(pic("T1"), -1), "#####");
}

TEST(Picture, ValueOfAnotherKindShowsHashes) {
  EXPECT_EQ(format(pic("s5"), dec("1")), "#####");
  EXPECT_EQ(format(pic("n4"), Date::fromYmd(2005, 1, 1).value()), "####");
  EXPECT_EQ(format(pic("D06."), std::string_view("x")), "##########");
  EXPECT_EQ(formatTime(pic("N4"), 60), "####");
  EXPECT_FALSE(parseNumber(pic("s5"), "1"));
  EXPECT_FALSE(parseDate(pic("n10"), "01.01.2005"));
  EXPECT_FALSE(parseTime(pic("D06."), "10:00"));

  Picture changed = pic("N10.2");
  changed.decimals = 9;
  EXPECT_EQ(format(changed, dec("1")), "##########");
  EXPECT_FALSE(parseNumber(changed, "1"));
}

TEST(Picture, PictureTextsRefused) {
  for (const char* bad :
       {"", "x8", "s", "s0", "s08", "s8x", "s1001", "N", "N0", "N00", "N_05", "N-", "N10.2.", "N10,2", "N10`",
        "N10.0", "N10`0", "N10v0", "N10.5", "N10`5", "N10.`", "N12.v2", "N2.2", "N3`2", "N_4_", "N04_", "N0_4",
        "N4--", "N-0_4", "N4 ", " N4", "N1001", "N99999999999999999999", "D", "D5.", "D06:", "D6.x", "d6.", "D06..",
        "T", "T2", "T01", "t1", "@s8@"}) {
    EXPECT_FALSE(parsePicture(bad)) << bad;
  }
  EXPECT_FALSE(parsePicture(std::string_view("N10.2\0", 6)));
}

TEST(Picture, ParsedPictures) {
  Picture p = pic("N-_15`2");
  EXPECT_EQ(p.kind, Picture::Kind::Number);
  EXPECT_EQ(p.width, 15);
  EXPECT_TRUE(p.sign);
  EXPECT_FALSE(p.zeros);
  EXPECT_TRUE(p.grouping);
  EXPECT_EQ(p.mark, ',');
  EXPECT_EQ(p.decimals, 2);

  p = pic("N-015v2");
  EXPECT_TRUE(p.sign && p.zeros && p.implied);
  EXPECT_EQ(p.mark, 0);
  EXPECT_EQ(p.width, 15);

  EXPECT_EQ(pic("N10.2").mark, '.');
  EXPECT_FALSE(pic("N10.2").grouping);
  EXPECT_EQ(pic("s240").width, 240);
  EXPECT_EQ(pic("D06.").width, 10);
  EXPECT_EQ(pic("T1").width, 5);
}

TEST(Picture, TypedNumbers) {
  struct Case {
    const char* picture;
    const char* text;
    const char* value;  // nullptr: refused
  } cases[] = {
      {"N-_15`2", "1.234.567,89", "1234567.89"},
      {"N-_15`2", "1234567,89", "1234567.89"},
      {"N-_15`2", "  -12,5 ", "-12.5"},
      {"N-_15`2", "+7", "7"},
      {"N-_15`2", ",5", "0.5"},
      {"N-_15`2", "12,", "12"},
      {"N-_15`2", "", "0"},
      {"N-_15`2", "   ", "0"},
      {"N-_15`2", "1.234", "1234"},
      {"N-18.`2", "-1.234.567,89", "-1234567.89"},
      {"N10.2", "450.01", "450.01"},
      {"N10.2", "450,01", "450.01"},
      {"n-7.2", "-3", "-3"},
      {"N05", "00012", "12"},
      {"N015`2", "00000031.234,56", "31234.56"},
      {"N04", "2005", "2005"},
      {"N3_", "999", "999"},
      {"N12.", "1.234.567", "1234567"},
      {"N-015v2", "-00000000001250", "-12.5"},
      {"N014v2", "00000001234567", "12345.67"},
      // Refused: signs the picture does not allow, badly grouped thousands,
      // more decimals than it holds, values too wide, stray characters.
      {"N_12`2", "-5", nullptr},
      {"N04", "-1", nullptr},
      {"n10.2", "-3", nullptr},
      {"N-_15`2", "12.5", nullptr},
      {"N-_15`2", "1.23.456", nullptr},
      {"N-_15`2", "1234.567", nullptr},
      {"N-_15`2", "1.2345", nullptr},
      {"N-_15`2", ".123", nullptr},
      {"N-_15`2", "1..234", nullptr},
      {"N-_15`2", "12,345", nullptr},
      {"N-_15`2", "12,3,4", nullptr},
      {"N-_15`2", "1 000", nullptr},
      {"N-_15`2", "12a", nullptr},
      {"N-_15`2", "-", nullptr},
      {"N-_15`2", "+,", nullptr},
      {"N-_15`2", "--1", nullptr},
      {"N-_15`2", "1e5", nullptr},
      {"N-_15`2", "100000000000", nullptr},
      {"N-_15`2", "99999999999999999999999999999", nullptr},
      {"N10.2", "1.234,5", nullptr},
      {"N10.2", "1.2.3", nullptr},
      {"N10.2", "12345678", nullptr},
      {"N04", "12,5", nullptr},
      {"N04", "1.000", nullptr},
      {"N04", "12345", nullptr},
      {"N02", "100", nullptr},
      {"N014v2", "12,50", nullptr},
      {"N014v2", "123456789012345", nullptr},
  };
  for (const Case& c : cases) {
    std::optional<Decimal> got = typed(c.picture, c.text);
    if (c.value)
      EXPECT_EQ(got, dec(c.value)) << c.picture << " \"" << c.text << "\"";
    else
      EXPECT_FALSE(got) << c.picture << " \"" << c.text << "\" gave " << got->toString(4);
  }
}

TEST(Picture, ShownNumbersReadBackAsTheirRoundedValue) {
  for (const char* picture : {"N-18.`2", "N_12`2", "N-12.`2", "N-_15`2", "N15`4", "N10.2", "n-7.2", "n15.2",
                              "N12.", "n5", "N05", "N-015v2", "N014v2"}) {
    Picture p = pic(picture);
    for (const char* value : {"0", "0.0049", "1", "-1", "999.995", "-1000", "1234567.891", "-0.5", "12.3456"}) {
      Decimal v = dec(value);
      std::string shown = format(p, v);
      if (shown.find('#') != std::string::npos || (v.isNegative() && !p.sign && !v.rounded(p.decimals).isZero()))
        continue;
      EXPECT_EQ(parseNumber(p, shown), v.rounded(p.decimals)) << picture << " " << value << " \"" << shown << "\"";
    }
  }
}

TEST(Picture, TypedDates) {
  Picture p = pic("D06.");
  EXPECT_EQ(parseDate(p, "01.05.2005"), Date::fromYmd(2005, 5, 1));
  EXPECT_EQ(parseDate(p, "1.5.2005"), Date::fromYmd(2005, 5, 1));
  EXPECT_EQ(parseDate(p, " 1.05.2005. "), Date::fromYmd(2005, 5, 1));
  EXPECT_EQ(parseDate(p, "29.02.2004"), Date::fromYmd(2004, 2, 29));
  EXPECT_EQ(parseDate(p, ""), Date{});
  EXPECT_EQ(parseDate(pic("D06/"), "1/5/2005"), Date::fromYmd(2005, 5, 1));
  EXPECT_EQ(parseDate(pic("D06/"), "1.5.2005"), Date::fromYmd(2005, 5, 1));
  for (const char* bad : {"31.02.2005", "29.02.2005", "00.01.2005", "1.13.2005", "1.5.05", "1.5.20051", "001.5.2005",
                          "1/5.2005", "1/5/2005", "1.5.2005..", "1.5", "1..5.2005", "a.5.2005", "1.5.2005x",
                          "1.5.0000", "32.1.2005"})
    EXPECT_FALSE(parseDate(p, bad)) << bad;
  for (Date d : {Date::fromYmd(2005, 3, 1).value(), Date::fromYmd(1999, 12, 31).value(), Date{}}) {
    EXPECT_EQ(parseDate(p, format(p, d)), d);
    EXPECT_EQ(parseDate(pic("D6."), format(pic("D6."), d)), d);
  }
}

TEST(Picture, TypedTimes) {
  Picture p = pic("T1");
  EXPECT_EQ(parseTime(p, "09:05"), 9 * 3600 + 5 * 60);
  EXPECT_EQ(parseTime(p, " 9:05 "), 9 * 3600 + 5 * 60);
  EXPECT_EQ(parseTime(p, "23:59"), 23 * 3600 + 59 * 60);
  for (const char* bad : {"", "24:00", "12:60", "12:5", "123:00", "12.30", "12:30:00", ":30", "ab:cd"})
    EXPECT_FALSE(parseTime(p, bad)) << bad;
}

}  // namespace
}  // namespace kdm
