#include <gtest/gtest.h>

#include <stdexcept>

#include "submission/fixed_layout.h"

namespace kdm {
namespace {

Decimal dec(const char* text) { return *Decimal::parse(text); }

TEST(SubmissionFixedLayout, RefusesFieldsThatDoNotFollowOneAnother) {
  EXPECT_THROW(FixedLayout("X", {{"A", 1, 2, FieldKind::Alpha}, {"B", 4, 1, FieldKind::Alpha}}), std::logic_error);
  EXPECT_THROW(FixedLayout("X", {{"A", 1, 2, FieldKind::Alpha}, {"B", 2, 1, FieldKind::Alpha}}), std::logic_error);
  EXPECT_THROW(FixedLayout("X", {{"A", 2, 2, FieldKind::Alpha}}), std::logic_error);
  FixedLayout ok("X", {{"A", 1, 2, FieldKind::Alpha}, {"B", 3, 4, FieldKind::Numeric}});
  EXPECT_EQ(ok.width(), 6u);
}

TEST(SubmissionFixedLayout, BuildsAndCutsByCharactersNotBytes) {
  FixedLayout layout("X", {{"IME", 1, 5, FieldKind::Alpha},
                           {"BROJ", 6, 4, FieldKind::Numeric},
                           {"REZ", 10, 3, FieldKind::Blank},
                           {"TIP", 13, 1, FieldKind::Alpha}});
  LineBuilder b(layout);
  b.set("IME", "ŠĆĐČŽšćđ").set("BROJ", 42).set("TIP", "5");
  std::string line = b.str();
  EXPECT_EQ(line, "ŠĆĐČŽ0042   5");
  EXPECT_EQ(layout.cut(line, "IME"), "ŠĆĐČŽ");
  EXPECT_EQ(layout.cut(line, "BROJ"), "0042");
  EXPECT_EQ(layout.cut(line, "TIP"), "5");
  EXPECT_EQ(layout.cut("Ana", "BROJ"), "    ");  // short line reads as blanks
  EXPECT_EQ(layout.cut(line, "NEMA"), "");
  EXPECT_THROW(b.set("NEMA", "x"), std::logic_error);
  EXPECT_EQ(LineBuilder(layout).str(), std::string(13, ' '));  // nothing set: all blank
}

TEST(SubmissionFixedLayout, NumericAndAlphaEncoders) {
  EXPECT_EQ(encodeNumeric(12, 5), "00012");
  EXPECT_EQ(encodeNumeric(0, 6), "000000");
  EXPECT_EQ(encodeNumeric(99999, 5), "99999");
  // A number that does not fit is not cut into another number.
  EXPECT_EQ(encodeNumeric(100000, 5), "#####");
  EXPECT_EQ(encodeNumeric(-1, 3), "###");
  EXPECT_EQ(encodeNumericText(" 12 ", 5), "00012");
  EXPECT_EQ(encodeNumericText("", 4), "0000");
  EXPECT_EQ(encodeNumericText("12A", 5), "0012A");  // written as it is, for the formal check
  EXPECT_EQ(encodeNumericText("123456", 4), "1234");
  EXPECT_EQ(encodeAlpha("Đurđević", 5), "Đurđe");
  EXPECT_EQ(encodeAlpha("Ana", 5), "Ana  ");
}

TEST(SubmissionFixedLayout, SignedAmounts) {
  struct Case {
    const char* amount;
    SignStyle style;
    const char* text;
  } cases[] = {
      {"1234.50", SignStyle::Zero, "000000000123450"},
      {"1234.50", SignStyle::Plus, "+00000000123450"},
      {"-12.00", SignStyle::Zero, "-00000000001200"},
      {"-12.00", SignStyle::Plus, "-00000000001200"},
      {"-0.01", SignStyle::Zero, "-00000000000001"},
      {"0", SignStyle::Zero, "000000000000000"},
      {"0", SignStyle::Plus, "+00000000000000"},
      {"0.005", SignStyle::Zero, "000000000000001"},   // half away from zero
      {"-0.005", SignStyle::Plus, "-00000000000001"},
      {"999999999999.99", SignStyle::Plus, "+99999999999999"},
      {"1000000000000", SignStyle::Plus, "+##############"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(encodeAmount(dec(c.amount), c.style), c.text) << c.amount;
    if (c.text[1] != '#') {
      EXPECT_EQ(decodeAmount(c.text), dec(c.amount).rounded(2)) << c.text;
    }
  }
}

TEST(SubmissionFixedLayout, DecodesOnlyWellFormedAmounts) {
  EXPECT_EQ(decodeAmount("123456789012345"), dec("1234567890123.45"));
  EXPECT_EQ(decodeAmount("+00000000000000"), Decimal());
  EXPECT_EQ(decodeAmount(" 00000000012345"), dec("123.45"));  // a blank sign is a plus
  for (const char* bad : {"", "00000000000000", "0000000000000000", "  0000000012345", "-0000000000123 ",
                          "+-0000000000001", "--0000000000001", "00000000000001-", "0000000,0000001",
                          "+0000000000000a", "               "})
    EXPECT_FALSE(decodeAmount(bad).has_value()) << '"' << bad << '"';
}

TEST(SubmissionFixedLayout, Dates) {
  EXPECT_EQ(encodeDate(*Date::fromYmd(2005, 3, 7)), "07032005");
  EXPECT_EQ(encodeDate(Date()), "        ");
  EXPECT_EQ(decodeDate("29022008"), Date::fromYmd(2008, 2, 29));
  for (const char* bad : {"29022005", "00012005", "3112205", "311220050", "3112200x", "        "})
    EXPECT_FALSE(decodeDate(bad).has_value()) << bad;
}

}  // namespace
}  // namespace kdm
