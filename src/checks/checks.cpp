#include "checks/checks.h"

#include "platform/text.h"

namespace kdm {
namespace {

// The weighted sum of the first weights.size() digits, or -1 when `text`
// is not `length` digits.
template <std::size_t N>
int weightedSum(std::string_view text, std::size_t length, const int (&weights)[N]) {
  if (text.size() != length || !isDigits(text)) return -1;
  int sum = 0;
  for (std::size_t i = 0; i < N; ++i) sum += weights[i] * (text[i] - '0');
  return sum;
}

// Company-style check digit: remainder 0 has none, 1 wants 0.
bool companyDigitOk(int sum, char digit) {
  int r = sum % 11;
  if (r == 0) return false;
  int expected = r == 1 ? 0 : 11 - r;
  return digit - '0' == expected;
}

bool finish(Globals& GLO, bool passed) {
  GLO.Status = passed ? 0 : 1;
  return passed;
}

}  // namespace

bool MbgCheck(Globals& GLO, std::string_view mbg) {
  GLO.Status = 0;
  static constexpr int kWeights[] = {7, 6, 5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
  int sum = weightedSum(mbg, 13, kWeights);
  if (sum < 0) return finish(GLO, false);
  int r = sum % 11;
  if (r == 1) return finish(GLO, false);
  int expected = r == 0 ? 0 : 11 - r;
  return finish(GLO, mbg[12] - '0' == expected);
}

bool MbCheck(Globals& GLO, std::string_view mb) {
  GLO.Status = 0;
  static constexpr int kWeights[] = {8, 7, 6, 5, 4, 3, 2};
  int sum = weightedSum(mb, 8, kWeights);
  return finish(GLO, sum >= 0 && companyDigitOk(sum, mb[7]));
}

bool MunicipalityCodeCheck(Globals& GLO, std::string_view code) {
  GLO.Status = 0;
  static constexpr int kWeights[] = {4, 3, 2};
  int sum = weightedSum(code, 4, kWeights);
  return finish(GLO, sum >= 0 && companyDigitOk(sum, code[3]));
}

bool DayInMonthCheck(Globals& GLO, int year, int month, int day) {
  GLO.Status = 0;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return finish(GLO, false);
  int length = kDays[month - 1] + (month == 2 && year % 4 == 0 ? 1 : 0);
  return finish(GLO, day <= length);
}

}  // namespace kdm
