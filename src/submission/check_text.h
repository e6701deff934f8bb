// The common tests of the formal check and the number pictures of its
// messages.
//
// "Numeric" is what the C library's conversion of text to a floating-point
// number reads completely, after trailing blanks are removed: leading
// white space, a sign, digits with a decimal point, an exponent. It never
// depends on the locale, so a window that set one changes nothing here.
// The pictures format exact amounts (ten-thousandths, as Decimal holds
// them; sums may exceed what a Decimal holds) through the display
// pictures (data/picture.h), without points between thousands; a number
// that does not fit fills the width with '#'.
#pragma once

#include <string>
#include <string_view>

#include "platform/decimal.h"

namespace kdm {

bool isNumeric(std::string_view text);
// The value of numeric text; 0 for text that is not numeric. Too large a
// value gives 1e300 with its sign.
double numericValue(std::string_view text);
// Numeric text as the number it stands for ("00012" is "12"); text that is
// not a whole number is given without its blanks.
std::string numberText(std::string_view text);

// N10.2: ten positions, two decimals after a point.
std::string pictureN10_2(Decimal amount);
// N15`4: fifteen positions, four decimals after a comma.
std::string pictureN15_4(__int128 units);
// n15.2: fifteen positions, two decimals after a point.
std::string pictureN15_2(__int128 units);

}  // namespace kdm
