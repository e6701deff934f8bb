#include "data/picture.h"

#include <algorithm>

#include "platform/text.h"

namespace kdm {
namespace {

constexpr std::int64_t kPow10[] = {1, 10, 100, 1000, 10000};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// A whole number of 1 to kMaxPictureWidth at `i`, advancing `i`.
bool readCount(std::string_view t, std::size_t& i, int& out) {
  std::size_t start = i;
  int v = 0;
  while (i < t.size() && isDigit(t[i])) {
    v = v * 10 + (t[i] - '0');
    if (v > kMaxPictureWidth) return false;
    ++i;
  }
  out = v;
  return i > start;
}

std::optional<Picture> parseNumberPicture(std::string_view t) {
  Picture p;
  p.kind = Picture::Kind::Number;
  std::size_t i = 1, n = t.size();
  if (i < n && t[i] == '-') p.sign = true, ++i;
  bool blanks = false;
  if (i < n && t[i] == '0') {
    p.zeros = true, ++i;
  } else if (i < n && t[i] == '_') {
    blanks = true, ++i;
  }
  if (i < n && t[i] == '0') return std::nullopt;  // "N00", "N_05": no width starts with 0
  if (!readCount(t, i, p.width) || p.width < 1) return std::nullopt;
  if (i < n && t[i] == '_') {
    if (blanks || p.zeros) return std::nullopt;
    ++i;
  }
  if (i < n && t[i] == '.') {
    ++i;
    if (i == n || t[i] == '`') {
      p.grouping = true;
    } else {
      p.mark = '.';
      if (!readCount(t, i, p.decimals)) return std::nullopt;
    }
  }
  if (i < n && p.mark == 0) {
    if (t[i] == '`') {
      // The decimal comma goes with points between thousands: 1.234,56.
      ++i;
      p.mark = ',';
      p.grouping = true;
      if (!readCount(t, i, p.decimals)) return std::nullopt;
    } else if (t[i] == 'v' && !p.grouping) {
      ++i;
      p.implied = true;
      if (!readCount(t, i, p.decimals)) return std::nullopt;
    }
  }
  if (i != n) return std::nullopt;
  if ((p.mark || p.implied) && p.decimals == 0) return std::nullopt;
  if (p.decimals > Decimal::kScale) return std::nullopt;
  if (p.width < p.decimals + (p.mark ? 1 : 0) + 1) return std::nullopt;
  return p;
}

std::optional<Picture> parseDatePicture(std::string_view t) {
  Picture p;
  p.kind = Picture::Kind::Date;
  p.width = 10;
  std::size_t i = 1, n = t.size();
  if (i < n && t[i] == '0') p.zeros = true, ++i;
  if (i >= n || t[i] != '6') return std::nullopt;
  ++i;
  if (i < n && (t[i] == '.' || t[i] == '/' || t[i] == '-')) p.separator = t[i++];
  if (i != n) return std::nullopt;
  return p;
}

std::string digitsOf(unsigned __int128 v) {
  std::string s;
  do {
    s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
    v /= 10;
  } while (v);
  return s;
}

std::string twoDigits(int v, char fill) {
  return std::string(1, v < 10 ? fill : static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10);
}

std::string filled(const Picture& p, char c) { return std::string(static_cast<std::size_t>(std::max(p.width, 0)), c); }

// A Picture changed by hand after parsing may hold decimals a Decimal has not.
bool numberPicture(const Picture& p) {
  return p.kind == Picture::Kind::Number && p.decimals >= 0 && p.decimals <= Decimal::kScale;
}

// `least` to `most` digits at `i` and no digit after them, advancing `i`.
bool readDigits(std::string_view s, std::size_t& i, std::size_t least, std::size_t most, int& out) {
  std::size_t start = i;
  out = 0;
  while (i < s.size() && isDigit(s[i]) && i - start < most) out = out * 10 + (s[i++] - '0');
  return i - start >= least && (i == s.size() || !isDigit(s[i]));
}

}  // namespace

std::optional<Picture> parsePicture(std::string_view t) {
  if (t.empty()) return std::nullopt;
  switch (t[0]) {
    case 's':
    case 'S': {
      Picture p;
      std::size_t i = 1;
      if (i < t.size() && t[i] == '0') return std::nullopt;
      if (!readCount(t, i, p.width) || p.width < 1 || i != t.size()) return std::nullopt;
      return p;
    }
    case 'n':
    case 'N':
      return parseNumberPicture(t);
    case 'D':
      return parseDatePicture(t);
    case 'T':
      if (t != "T1") return std::nullopt;
      return Picture{.kind = Picture::Kind::Time, .width = 5};
    default:
      return std::nullopt;
  }
}

std::string formatUnits(const Picture& p, __int128 units) {
  if (!numberPicture(p)) return filled(p, '#');
  bool negative = units < 0;
  unsigned __int128 magnitude =
      negative ? -static_cast<unsigned __int128>(units) : static_cast<unsigned __int128>(units);
  unsigned __int128 step = static_cast<unsigned __int128>(kPow10[Decimal::kScale - p.decimals]);
  unsigned __int128 scaled = (magnitude + step / 2) / step;  // half away from zero
  unsigned __int128 one = static_cast<unsigned __int128>(kPow10[p.decimals]);

  std::string whole = digitsOf(scaled / one);
  if (p.grouping)
    for (std::size_t at = whole.size(); at > 3; at -= 3) whole.insert(at - 3, 1, '.');
  std::string body = whole;
  if (p.decimals > 0) {
    std::string fraction = digitsOf(scaled % one);
    if (p.mark) body += p.mark;
    body += std::string(static_cast<std::size_t>(p.decimals) - fraction.size(), '0') + fraction;
  }
  bool showSign = negative && scaled != 0;
  std::size_t width = static_cast<std::size_t>(p.width);
  std::size_t length = body.size() + (showSign ? 1 : 0);
  if (length > width) return filled(p, '#');
  std::string sign = showSign ? "-" : "";
  if (p.zeros) return sign + std::string(width - length, '0') + body;
  return std::string(width - length, ' ') + sign + body;
}

std::string format(const Picture& p, Decimal value) { return formatUnits(p, value.units()); }

std::string format(const Picture& p, std::int64_t whole) {
  return formatUnits(p, static_cast<__int128>(whole) * Decimal::kUnit);
}

std::string format(const Picture& p, Date date) {
  if (p.kind != Picture::Kind::Date) return filled(p, '#');
  if (!date.isSet()) return filled(p, ' ');
  int year = date.year();
  if (year < 1 || year > 9999) return filled(p, '#');
  std::string y = digitsOf(static_cast<unsigned>(year));
  return twoDigits(date.day(), p.zeros ? '0' : ' ') + p.separator + twoDigits(date.month(), '0') + p.separator +
         std::string(4 - y.size(), '0') + y;
}

std::string format(const Picture& p, std::string_view text) {
  if (p.kind != Picture::Kind::Text) return filled(p, '#');
  return fitWidth(text, static_cast<std::size_t>(p.width));
}

std::string formatTime(const Picture& p, std::int32_t seconds) {
  if (p.kind != Picture::Kind::Time || seconds < 0 || seconds >= 24 * 3600) return filled(p, '#');
  return twoDigits(seconds / 3600, '0') + ':' + twoDigits(seconds / 60 % 60, '0');
}

std::optional<Decimal> parseNumber(const Picture& p, std::string_view typed) {
  if (!numberPicture(p)) return std::nullopt;
  std::string_view s = trimBlanks(typed);
  if (s.empty()) return Decimal{};
  std::size_t i = 0;
  bool negative = false;
  if (s[0] == '-' || s[0] == '+') {
    negative = s[0] == '-';
    if (negative && !p.sign) return std::nullopt;
    ++i;
  }

  // Beyond 25 digits after the leading zeros no value fits a Decimal;
  // stopping there keeps the arithmetic below from overflowing.
  constexpr int kMostDigits = 25;
  __int128 digits = 0;
  int count = 0, significant = 0, fractionDigits = 0;
  auto take = [&](char c) {
    ++count;
    if (digits == 0 && c == '0') return true;
    digits = digits * 10 + (c - '0');
    return ++significant <= kMostDigits;
  };

  if (p.implied) {
    for (; i < s.size(); ++i)
      if (!isDigit(s[i]) || !take(s[i])) return std::nullopt;
    fractionDigits = p.decimals;
  } else {
    // Leading zeros, as a zero-filled picture shows them, stand outside the
    // groups of thousands.
    while (i + 1 < s.size() && s[i] == '0' && isDigit(s[i + 1])) ++i;
    bool groupsSeen = false;
    std::size_t group = 0;  // digits since the last thousands point
    for (; i < s.size() && s[i] != ','; ++i) {
      char c = s[i];
      if (c == '.' && p.mark == '.') break;
      if (c == '.' && p.grouping) {
        if (group == 0 || group > 3 || (groupsSeen && group != 3)) return std::nullopt;
        groupsSeen = true;
        group = 0;
        continue;
      }
      if (!isDigit(c) || !take(c)) return std::nullopt;
      ++group;
    }
    if (groupsSeen && group != 3) return std::nullopt;
    if (i < s.size()) {
      // The decimal mark: the picture's own, or a comma for its point.
      if (p.mark == 0) return std::nullopt;
      for (++i; i < s.size(); ++i) {
        if (!isDigit(s[i]) || !take(s[i])) return std::nullopt;
        if (++fractionDigits > p.decimals) return std::nullopt;
      }
    }
  }
  if (count == 0) return std::nullopt;

  __int128 units = digits * kPow10[Decimal::kScale - fractionDigits];
  if (units > INT64_MAX) return std::nullopt;
  Decimal value = Decimal::fromUnits(static_cast<std::int64_t>(negative ? -units : units));
  if (formatUnits(p, value.units()).find('#') != std::string::npos) return std::nullopt;
  return value;
}

std::optional<Date> parseDate(const Picture& p, std::string_view typed) {
  if (p.kind != Picture::Kind::Date) return std::nullopt;
  std::string_view s = trimBlanks(typed);
  if (s.empty()) return Date{};
  std::size_t i = 0;
  int day = 0, month = 0, year = 0;
  if (!readDigits(s, i, 1, 2, day) || i >= s.size()) return std::nullopt;
  char separator = s[i];
  if (separator != p.separator && separator != '.') return std::nullopt;
  ++i;
  if (!readDigits(s, i, 1, 2, month) || i >= s.size() || s[i] != separator) return std::nullopt;
  ++i;
  if (!readDigits(s, i, 4, 4, year)) return std::nullopt;
  if (i < s.size() && s[i] == separator) ++i;
  if (i != s.size()) return std::nullopt;
  return Date::fromYmd(year, month, day);
}

std::optional<std::int32_t> parseTime(const Picture& p, std::string_view typed) {
  if (p.kind != Picture::Kind::Time) return std::nullopt;
  std::string_view s = trimBlanks(typed);
  std::size_t i = 0;
  int hours = 0, minutes = 0;
  if (!readDigits(s, i, 1, 2, hours) || i >= s.size() || s[i] != ':') return std::nullopt;
  ++i;
  if (!readDigits(s, i, 2, 2, minutes) || i != s.size()) return std::nullopt;
  if (hours > 23 || minutes > 59) return std::nullopt;
  return hours * 3600 + minutes * 60;
}

}  // namespace kdm
