#include <gtest/gtest.h>

#include "checks/checks.h"

namespace kdm {

using Check = bool (*)(Globals&, std::string_view);

TEST(IdentityChecks, WorkedExamplesAndStatus) {
  Globals GLO;
  struct Case {
    Check check;
    const char* input;
    bool passes;
  } cases[] = {
      {MbCheck, "12345674", false},
      {MbCheck, "12345679", true},
      {MunicipalityCodeCheck, "1232", false},
      {MunicipalityCodeCheck, "1236", true},
      {MbgCheck, "1234567890123", false},
      {MbgCheck, "1234567890125", true},
      {MbgCheck, "1111111111111", true},  // the placeholder's check digit is right
      {MbgCheck, "0000000000000", true},  // sum 0 wants 0
      {MbCheck, "00000000", false},       // remainder 0 has no check digit
      {MunicipalityCodeCheck, "0000", false},
      {MbCheck, "00200000", true},        // remainder 1 wants 0
      {MbCheck, "00200001", false},
      // Not a routine's input at all: refused, never read past the text.
      {MbgCheck, "12345", false},
      {MbCheck, "1234567a", false},
      {MunicipalityCodeCheck, "", false},
  };
  for (auto& c : cases) {
    GLO.Status = 7;
    EXPECT_EQ(c.check(GLO, c.input), c.passes) << c.input;
    EXPECT_EQ(GLO.Status, c.passes ? 0 : 1) << c.input;
  }
}

TEST(IdentityChecks, RemaindersWithNoPossibleCheckDigit) {
  Globals GLO;
  // Weighted sums: MBG 12 (remainder 1), MB 22 and municipality 22 (remainder 0).
  for (char last = '0'; last <= '9'; ++last) {
    EXPECT_FALSE(MbgCheck(GLO, std::string("020000000000") + last)) << last;
    EXPECT_FALSE(MbCheck(GLO, std::string("2010000") + last)) << last;
    EXPECT_FALSE(MunicipalityCodeCheck(GLO, std::string("420") + last)) << last;
  }
}

TEST(DayInMonthCheck, MonthLengthsAndLeapYears) {
  Globals GLO;
  struct Case {
    int y, m, d;
    bool passes;
  } cases[] = {{2008, 2, 29, true}, {2005, 2, 29, false}, {2005, 2, 28, true},   {2005, 4, 31, false},
               {2005, 4, 30, true}, {2005, 1, 31, true},  {2005, 12, 32, false}, {2005, 6, 0, true},
               {2100, 2, 29, true},  // every fourth year, no century rule
               {2005, 13, 1, false}};
  for (auto& c : cases) {
    EXPECT_EQ(DayInMonthCheck(GLO, c.y, c.m, c.d), c.passes) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(GLO.Status, c.passes ? 0 : 1);
  }
}

}  // namespace kdm
