#include "platform/date.h"

#include <cstdio>

namespace kdm {
namespace {

// Howard Hinnant's days-from-civil, shifted so 0001-01-01 is day 1.
constexpr std::int64_t kShift = 719163;  // days from 0001-01-01 to 1970-01-01, plus one

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int readNumber(std::string_view s, std::size_t from, std::size_t len) {
  int v = 0;
  for (std::size_t i = from; i < from + len; ++i) {
    if (s[i] < '0' || s[i] > '9') return -1;
    v = v * 10 + (s[i] - '0');
  }
  return v;
}

}  // namespace

std::optional<Date> Date::fromYmd(int year, int month, int day) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
  int len = kDays[month - 1] + (month == 2 && leap(year) ? 1 : 0);
  if (day > len) return std::nullopt;
  return fromDayNumber(static_cast<std::int32_t>(daysFromCivil(year, month, day) + kShift));
}

std::optional<Date> Date::parseIso(std::string_view s) {
  if (s.size() != 10 || s[4] != '-' || s[7] != '-') return std::nullopt;
  return fromYmd(readNumber(s, 0, 4), readNumber(s, 5, 2), readNumber(s, 8, 2));
}

std::optional<Date> Date::parseDmy(std::string_view s) {
  if (s.size() != 10 || s[2] != '.' || s[5] != '.') return std::nullopt;
  return fromYmd(readNumber(s, 6, 4), readNumber(s, 3, 2), readNumber(s, 0, 2));
}

int Date::year() const {
  int y = 0, m = 0, d = 0;
  if (day_) civilFromDays(day_ - kShift, y, m, d);
  return y;
}
int Date::month() const {
  int y = 0, m = 0, d = 0;
  if (day_) civilFromDays(day_ - kShift, y, m, d);
  return m;
}
int Date::day() const {
  int y = 0, m = 0, d = 0;
  if (day_) civilFromDays(day_ - kShift, y, m, d);
  return d;
}

std::string Date::iso() const {
  if (!day_) return {};
  int y, m, d;
  civilFromDays(day_ - kShift, y, m, d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
  return buf;
}

std::string Date::dmy() const {
  if (!day_) return {};
  int y, m, d;
  civilFromDays(day_ - kShift, y, m, d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d, m, y);
  return buf;
}

}  // namespace kdm
