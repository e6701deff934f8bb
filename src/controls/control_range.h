// The bounds a row of the control matrix allows.
//
// Each of the eleven checked values of a page-B row (calculation month and
// year, pay year and month, first and last day, the amounts IV.7 to IV.11)
// has a range code in the matrix row of its combination of obligor type,
// type of calculation and basis of insurance. ControlRangeLoad turns the
// codes of one row into numeric bounds:
//
//   "= 0 "  0 .. 0 for everything
//   ">=0 "  months 0..12, years 2004..current year + 1, days 0..31,
//           amounts 0..any
//   ">0  "  months 1..12, years 2004..current year + 1, days 1..31,
//           amounts 0.01..any
//
// Any other code, a blank one included (and "<=>0", which IV.8 may carry),
// sets no bounds: the value keeps the bounds the previous load left (0 and
// 0 before the first), and `set` tells that this load gave none. Every
// checking procedure leaves such a value unchecked (allows), and checks no
// range at all for a combination missing from the matrix: the bounds of
// another combination say nothing about it. The current year comes from
// the program's clock when the bounds are loaded.
#pragma once

#include "platform/decimal.h"

namespace kdm {

struct VEZNATAB;

struct Bounds {
  Decimal low, high;
  bool set = false;  // the last load's code gave these bounds
  bool contains(Decimal v) const { return low <= v && v <= high; }
  bool contains(long long v) const { return contains(Decimal::fromInt(v)); }
  // Inside the bounds, or no bounds given for the value.
  bool allows(Decimal v) const { return !set || contains(v); }
  bool allows(long long v) const { return !set || contains(v); }
};

struct ControlRanges {
  Bounds OBRMJE, GODINA, PLAGOD, PLAMJE, DANOD, DANDO, IZNOS7, IZNOS8, IZNOS9, IZNOS10, IZNOS11;
};

struct Globals;

// Loads the bounds of `vez` into GLO.Ranges.
void ControlRangeLoad(Globals& GLO, const VEZNATAB& vez);

}  // namespace kdm
