// Exact fixed-point numbers for money and rates.
//
// A Decimal is an integer count of ten-thousandths, so DECIMAL(p,s) fields
// of up to four decimals are held exactly; products go through 128-bit
// intermediates. Rounding is half away from zero, to the decimals of the
// field the result goes into. Never binary floating point for money.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kdm {

class Decimal {
 public:
  static constexpr int kScale = 4;
  static constexpr std::int64_t kUnit = 10000;

  constexpr Decimal() = default;
  static constexpr Decimal fromUnits(std::int64_t units) {
    Decimal d;
    d.units_ = units;
    return d;
  }
  static constexpr Decimal fromInt(std::int64_t whole) { return fromUnits(whole * kUnit); }
  static constexpr Decimal max() { return fromUnits(INT64_MAX); }

  // "-123.45", "+7", ".5", "12." with at most `maxDecimals` decimals after
  // a point; nothing else (no blanks, no thousands separators).
  static std::optional<Decimal> parse(std::string_view text, int maxDecimals = kScale);

  constexpr std::int64_t units() const { return units_; }
  bool isZero() const { return units_ == 0; }
  bool isNegative() const { return units_ < 0; }

  // Rounded half away from zero to `decimals` (0 to 4).
  Decimal rounded(int decimals) const;
  // With exactly `decimals` decimals after a point, e.g. "-16.67".
  std::string toString(int decimals = 2) const;
  // Whether the value fits DECIMAL(precision, scale): at most
  // precision - scale whole digits and no digits past `scale`.
  bool fits(int precision, int scale) const;

  // this * rate / 100, rounded to `decimals`: a contribution from a base
  // and a rate in percent (333.33 at 5.00 % is 16.67).
  Decimal percent(Decimal rate, int decimals = 2) const;
  // Product rounded to the four decimals a Decimal holds.
  Decimal operator*(Decimal other) const;

  Decimal operator+(Decimal o) const { return fromUnits(units_ + o.units_); }
  Decimal operator-(Decimal o) const { return fromUnits(units_ - o.units_); }
  Decimal operator-() const { return fromUnits(-units_); }
  Decimal& operator+=(Decimal o) {
    units_ += o.units_;
    return *this;
  }
  Decimal& operator-=(Decimal o) {
    units_ -= o.units_;
    return *this;
  }
  constexpr auto operator<=>(const Decimal&) const = default;

 private:
  std::int64_t units_ = 0;
};

}  // namespace kdm
