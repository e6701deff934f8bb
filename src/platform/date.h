// Calendar dates as day numbers; 0 stands for "no date".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kdm {

class Date {
 public:
  constexpr Date() = default;
  static constexpr Date fromDayNumber(std::int32_t day) {
    Date d;
    d.day_ = day;
    return d;
  }
  // Nothing (no date) when the day does not exist.
  static std::optional<Date> fromYmd(int year, int month, int day);
  static std::optional<Date> parseIso(std::string_view text);  // YYYY-MM-DD
  static std::optional<Date> parseDmy(std::string_view text);  // DD.MM.YYYY

  constexpr std::int32_t dayNumber() const { return day_; }
  constexpr bool isSet() const { return day_ != 0; }
  int year() const;
  int month() const;
  int day() const;
  std::string iso() const;  // "" for no date
  std::string dmy() const;  // "dd.mm.yyyy", "" for no date

  constexpr auto operator<=>(const Date&) const = default;

 private:
  // Days from 1 January of year 1 (proleptic Gregorian), that day being 1.
  std::int32_t day_ = 0;
};

}  // namespace kdm
