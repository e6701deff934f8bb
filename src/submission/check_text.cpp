#include "submission/check_text.h"

#include <charconv>
#include <cmath>

#include "data/picture.h"
#include "platform/text.h"

namespace kdm {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The messages show their amounts without points between thousands, as the
// submission file writes them.
Picture picture(std::string_view text) {
  Picture p = parsePicture(text).value();
  p.grouping = false;
  return p;
}

}  // namespace

bool isNumeric(std::string_view s) {
  s = trimRight(s);
  std::size_t i = 0, n = s.size();
  while (i < n && isSpace(s[i])) ++i;
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && isDigit(s[i])) ++i, ++digits;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && isDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t exponent = 0;
    while (i < n && isDigit(s[i])) ++i, ++exponent;
    if (exponent == 0) return false;
  }
  return i == n;
}

double numericValue(std::string_view s) {
  if (!isNumeric(s)) return 0;
  s = trimRight(s);
  std::size_t i = 0;
  while (isSpace(s[i])) ++i;
  bool negative = s[i] == '-';
  if (s[i] == '+' || s[i] == '-') ++i;
  double v = 0;
  auto result = std::from_chars(s.data() + i, s.data() + s.size(), v);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: the exponent's sign tells which.
    std::size_t e = s.find_first_of("eE");
    v = (e != std::string_view::npos && e + 1 < s.size() && s[e + 1] == '-') ? 0.0 : 1e300;
  }
  return negative ? -v : v;
}

std::string numberText(std::string_view s) {
  double v = numericValue(s);
  if (isNumeric(s) && std::fabs(v) < 1e15 && v == std::trunc(v)) return std::to_string(static_cast<long long>(v));
  return std::string(trim(s));
}

std::string pictureN10_2(Decimal amount) {
  static const Picture p = picture("N10.2");
  return format(p, amount);
}
std::string pictureN15_4(__int128 units) {
  static const Picture p = picture("N15`4");
  return formatUnits(p, units);
}
std::string pictureN15_2(__int128 units) {
  static const Picture p = picture("n15.2");
  return formatUnits(p, units);
}

}  // namespace kdm
