// Check digits of the identity numbers and the day check, shared by every
// window and process that checks data.
//
// Each routine sets GLO.Status to 0 when it starts and to 1 when the check
// fails, and also returns whether it passed; it shows nothing and touches
// no file. Callers make the preliminary tests (not empty, full length,
// digits only) themselves; given anything else, a routine fails rather
// than read past the text.
#pragma once

#include <string_view>

#include "app/globals.h"

namespace kdm {

// Personal identity number, 13 digits: weights 7..2 twice, remainder 1
// fails, 0 wants 0, else 11 - r.
bool MbgCheck(Globals& GLO, std::string_view mbg);
// Company identity number, 8 digits: weights 8..2, remainder 0 fails,
// 1 wants 0, else 11 - r.
bool MbCheck(Globals& GLO, std::string_view mb);
// Municipality or city code, 4 digits: weights 4, 3, 2, as MbCheck.
bool MunicipalityCodeCheck(Globals& GLO, std::string_view code);
// Fails only when the day is past the month's length (February has 29
// days in every year divisible by 4); month 1 to 12.
bool DayInMonthCheck(Globals& GLO, int year, int month, int day);

}  // namespace kdm
