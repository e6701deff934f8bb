// Display pictures: how a window, a printout or a command shows a value in
// a fixed number of positions, and how a value typed into such a field is
// read back.
//
// A picture text is parsed once into a Picture:
//   sN, SN      text of N characters (cut or blank-padded, counted in
//               characters, not bytes);
//   nN, NN      a number of N positions, right-aligned. Before the width:
//               "-" negative values may be entered, "0" leading zeros,
//               "_" leading blanks (the default; also accepted after the
//               width, as in "N4_"). After the width: ".d" a decimal point
//               and d decimals; "`d" a decimal comma and d decimals, with
//               points between thousands (1.234.567,89); ".`d" the same,
//               the point spelt out; a lone "." points between thousands
//               of a whole number; "vd" d implied decimals (no mark shown).
//               At most four decimals, what a Decimal holds;
//   D6, D06     a date dd.mm.yyyy; without the "0" the day has a leading
//               blank instead of a zero. An optional separator follows
//               (".", "/" or "-"); without one the point is used;
//   T1          a time hh:mm.
// Anything else is refused.
//
// A number is rounded half away from zero to the picture's decimals. A
// negative number shows its sign whether or not the picture has "-", so a
// value is never shown as its opposite; the "-" only decides whether a
// negative value may be typed. A value too wide for the picture fills it
// with '#', and so does a value of another kind than the picture (a date
// under a number picture). Every result has exactly the picture's width in
// characters.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/date.h"
#include "platform/decimal.h"

namespace kdm {

struct Picture {
  enum class Kind { Text, Number, Date, Time };
  Kind kind = Kind::Text;
  int width = 0;         // positions shown, sign and marks included
  bool sign = false;     // "-": negative values may be typed
  bool zeros = false;    // "0": leading zeros instead of blanks
  bool grouping = false;  // points between thousands
  char mark = 0;         // decimal mark shown: '.', ',' or 0 for none
  int decimals = 0;      // after the mark, or implied
  bool implied = false;  // "v": the decimals are the last digits, no mark
  char separator = '.';  // dates: between day, month and year
};

inline constexpr int kMaxPictureWidth = 1000;

// Nothing for a text that is not a picture.
std::optional<Picture> parsePicture(std::string_view text);

// A number in ten-thousandths; wider than a Decimal so that sums of many
// amounts can be shown.
std::string formatUnits(const Picture& picture, __int128 units);
std::string format(const Picture& picture, Decimal value);
std::string format(const Picture& picture, std::int64_t whole);
// Blanks for no date.
std::string format(const Picture& picture, Date date);
std::string format(const Picture& picture, std::string_view text);
// Seconds since midnight; the seconds are not shown.
std::string formatTime(const Picture& picture, std::int32_t seconds);

// What a user types into a field of the picture, blanks around it allowed.
// Numbers: an optional sign ("-" only when the picture has one), digits,
// and with a decimal comma picture the points between thousands (in groups
// of three, or none at all) and the comma. A point is never read as a
// decimal comma there, since "1.250" would be read two ways; a picture with
// a decimal point takes a comma for the point as well. More decimals than
// the picture holds, or a value too wide for it, is refused rather than
// changed. With implied decimals the last digits are the decimals, as the
// picture shows them. A blank field is zero. Nothing when refused, and
// nothing from a picture of another kind.
std::optional<Decimal> parseNumber(const Picture& picture, std::string_view typed);
// "d.m.yyyy" with one or two digits for day and month, the picture's
// separator or a point, an optional separator at the end. A blank field is
// no date (day number 0). Nothing for a day that does not exist.
std::optional<Date> parseDate(const Picture& picture, std::string_view typed);
// "h:mm" or "hh:mm", 00:00 to 23:59, as seconds since midnight.
std::optional<std::int32_t> parseTime(const Picture& picture, std::string_view typed);

}  // namespace kdm
