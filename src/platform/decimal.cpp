#include "platform/decimal.h"

#include <cstdlib>

namespace kdm {
namespace {

constexpr std::int64_t kPow10[] = {1, 10, 100, 1000, 10000};

// Divides rounding half away from zero.
__int128 divRound(__int128 value, __int128 divisor) {
  __int128 q = value / divisor;
  __int128 r = value % divisor;
  __int128 twice = (r < 0 ? -r : r) * 2;
  if (twice >= divisor) q += value < 0 ? -1 : 1;
  return q;
}

std::int64_t clamp(__int128 v) {
  if (v > INT64_MAX) return INT64_MAX;
  if (v < INT64_MIN) return INT64_MIN;
  return static_cast<std::int64_t>(v);
}

}  // namespace

std::optional<Decimal> Decimal::parse(std::string_view s, int maxDecimals) {
  if (s.empty()) return std::nullopt;
  bool negative = false;
  std::size_t i = 0;
  if (s[0] == '-' || s[0] == '+') {
    negative = s[0] == '-';
    i = 1;
  }
  __int128 whole = 0;
  int wholeDigits = 0, fracDigits = 0;
  std::int64_t frac = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    if (point) {
      if (++fracDigits > maxDecimals || fracDigits > kScale) return std::nullopt;
      frac = frac * 10 + (c - '0');
    } else {
      whole = whole * 10 + (c - '0');
      if (++wholeDigits > 15) return std::nullopt;
    }
  }
  if (wholeDigits == 0 && fracDigits == 0) return std::nullopt;
  __int128 units = whole * kUnit + frac * kPow10[kScale - fracDigits];
  if (units > INT64_MAX) return std::nullopt;
  return fromUnits(static_cast<std::int64_t>(negative ? -units : units));
}

Decimal Decimal::rounded(int decimals) const {
  if (decimals >= kScale) return *this;
  if (decimals < 0) decimals = 0;
  std::int64_t step = kPow10[kScale - decimals];
  return fromUnits(clamp(divRound(units_, step) * step));
}

std::string Decimal::toString(int decimals) const {
  if (decimals < 0) decimals = 0;
  if (decimals > kScale) decimals = kScale;
  std::int64_t step = kPow10[kScale - decimals];
  __int128 v = divRound(units_, step);
  bool negative = v < 0;
  unsigned __int128 mag = negative ? -v : v;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(mag % 10)));
    mag /= 10;
  } while (mag > 0);
  if (decimals > 0) {
    if (digits.size() <= static_cast<std::size_t>(decimals))
      digits.insert(0, decimals + 1 - digits.size(), '0');
    digits.insert(digits.size() - decimals, ".");
  }
  if (negative) digits.insert(0, "-");
  return digits;
}

bool Decimal::fits(int precision, int scale) const {
  if (scale < kScale && rounded(scale) != *this) return false;
  __int128 limit = 1;
  for (int i = 0; i < precision - scale; ++i) limit *= 10;
  __int128 mag = units_ < 0 ? -static_cast<__int128>(units_) : units_;
  return mag < limit * kUnit;
}

Decimal Decimal::percent(Decimal rate, int decimals) const {
  // units * rateUnits / (kUnit * 100) gives ten-thousandths.
  __int128 product = static_cast<__int128>(units_) * rate.units_;
  std::int64_t step = kPow10[kScale - (decimals > kScale ? kScale : decimals)];
  __int128 scaled = divRound(product, static_cast<__int128>(kUnit) * 100 * step);
  return fromUnits(clamp(scaled * step));
}

Decimal Decimal::operator*(Decimal other) const {
  __int128 product = static_cast<__int128>(units_) * other.units_;
  return fromUnits(clamp(divRound(product, kUnit)));
}

}  // namespace kdm
