#include <gtest/gtest.h>

#include "platform/cp1250.h"
#include "platform/text.h"

namespace kdm {

TEST(Cp1250, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string utf8 = cp1250ToUtf8(all);
  ASSERT_TRUE(isValidUtf8(utf8));
  EXPECT_EQ(charCount(utf8), 256u);
  std::string back;
  ASSERT_TRUE(utf8ToCp1250(utf8, back));
  EXPECT_EQ(back, all);
}

TEST(Cp1250, CroatianLettersAndUndefinedBytes) {
  EXPECT_EQ(cp1250ToUtf8("\x8A\x9A\xC8\xE8\xC6\xE6\xD0\xF0\x8E\x9E"), "ŠšČčĆćĐđŽž");
  EXPECT_EQ(cp1250ToUtf8("\x80"), "€");
  // The five undefined bytes become the control characters of their value.
  EXPECT_EQ(cp1250ToUtf8("\x81\x83\x88\x90\x98"), "\u0081\u0083\u0088\u0090\u0098");
  std::string out;
  EXPECT_TRUE(utf8ToCp1250("Šimić", out));
  EXPECT_EQ(out, "\x8Aimi\xE6");
  EXPECT_FALSE(utf8ToCp1250("日本", out));
  EXPECT_FALSE(utf8ToCp1250("\xC3", out));  // cut UTF-8 sequence
  EXPECT_FALSE(isCp1250Text("Ωmega"));
}

TEST(Text, WidthsCountCharacters) {
  EXPECT_EQ(charCount("ČĆĐ"), 3u);
  EXPECT_EQ(fitWidth("Šime", 6), "Šime  ");
  EXPECT_EQ(fitWidth("Đurđevac", 4), "Đurđ");
  EXPECT_EQ(midChars("ŠČĆĐŽ", 1, 3), "ČĆĐ");
  EXPECT_EQ(padLeft("7", 3, '0'), "007");
  EXPECT_EQ(trimRight("ab  "), "ab");
  EXPECT_TRUE(sameText("ab ", "ab"));
  EXPECT_FALSE(sameText(" ab", "ab"));
  EXPECT_EQ(charCount("\xFF\xFE"), 2u);  // stray bytes count one each
}

TEST(Collation, IgnoresCaseCroatianLettersIncluded) {
  EXPECT_EQ(collate("šimić", "ŠIMIĆ"), 0);
  EXPECT_EQ(collate("đurđevac", "ĐURĐEVAC"), 0);
  EXPECT_EQ(collate("abc  ", "ABC"), 0);
  EXPECT_NE(collate("a", "á"), 0);  // case, not accents
  EXPECT_EQ(upper("čćđšž"), "ČĆĐŠŽ");
}

TEST(Collation, OrdersCroatianLettersAfterTheirBase) {
  const char* ordered[] = {"", "1", "A", "b", "C", "ca", "Č", "čz", "Ć", "D", "Đ", "E", "S", "Š", "T", "Z", "Ž"};
  for (std::size_t i = 0; i + 1 < std::size(ordered); ++i)
    EXPECT_LT(collate(ordered[i], ordered[i + 1]), 0) << ordered[i] << " < " << ordered[i + 1];
}

TEST(Text, QuotedInputIsCutAndHarmless) {
  const std::string x80(80, 'x');
  struct {
    std::string value, quoted;
  } cases[] = {
      {"", "\"\""},
      {"abc", "\"abc\""},
      {x80, "\"" + x80 + "\""},
      {x80 + "y", "\"" + x80 + "...\""},
      {std::string(20 << 20, 'z'), "\"" + std::string(80, 'z') + "...\""},
      {std::string(79, 'x') + "Šž", "\"" + std::string(79, 'x') + "Š...\""},  // characters, not bytes
      {"a\nb\x1b[2Jc\x7f", "\"a?b?[2Jc?\""},
  };
  for (const auto& c : cases) EXPECT_EQ(quoteInput(c.value), c.quoted) << c.value.size();
}

}  // namespace kdm
