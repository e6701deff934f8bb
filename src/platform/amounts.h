// How large an amount the program may keep: whatever it keeps ends up in an
// amount field of the submission file, a sign and 14 digits of hundredths,
// so a larger amount is refused where it is typed or loaded instead of
// being left out of a form later.
#pragma once

#include <cstdint>

#include "platform/decimal.h"

namespace kdm {

inline constexpr int kAmountDigits = 14;  // hundredths
// 999,999,999,999.99 in ten-thousandths.
inline constexpr std::int64_t kLargestAmountUnits = 99'999'999'999'999 * (Decimal::kUnit / 100);

// Whether the amount, rounded to hundredths, fits an amount field.
inline bool amountFits(Decimal amount) { return amount.rounded(2).fits(kAmountDigits, 2); }

}  // namespace kdm
