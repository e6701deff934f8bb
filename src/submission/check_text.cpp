#include "submission/check_text.h"

#include <charconv>
#include <cmath>

#include "platform/text.h"

namespace kdm {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string digitsOf(unsigned __int128 v) {
  std::string s;
  do {
    s += static_cast<char>('0' + static_cast<int>(v % 10));
    v /= 10;
  } while (v);
  return std::string(s.rbegin(), s.rend());
}

// Ten-thousandths rounded half away from zero to `decimals`.
std::string picture(__int128 units, int decimals, char point, std::size_t width) {
  bool negative = units < 0;
  unsigned __int128 magnitude = negative ? -static_cast<unsigned __int128>(units) : static_cast<unsigned __int128>(units);
  unsigned __int128 step = 1;
  for (int i = decimals; i < Decimal::kScale; ++i) step *= 10;
  unsigned __int128 scaled = (magnitude + step / 2) / step;  // in units of 10^-decimals
  unsigned __int128 one = 1;
  for (int i = 0; i < decimals; ++i) one *= 10;
  std::string fraction = digitsOf(scaled % one);
  std::string text = (negative && scaled != 0 ? "-" : "") + digitsOf(scaled / one) + point +
                     std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
  if (text.size() > width) return std::string(width, '#');
  return padLeft(text, width);
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

std::string pictureN10_2(Decimal amount) { return picture(amount.units(), 2, '.', 10); }
std::string pictureN15_4(__int128 units) { return picture(units, 4, ',', 15); }
std::string pictureN15_2(__int128 units) { return picture(units, 2, '.', 15); }

}  // namespace kdm
