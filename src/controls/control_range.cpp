#include "controls/control_range.h"

#include "app/globals.h"
#include "data/records.h"
#include "platform/clock.h"
#include "platform/text.h"

namespace kdm {
namespace {

enum class Kind { Month, Year, Day, Amount };

// The amounts' "any" upper bound: larger than any amount a field holds.
constexpr Decimal kAnyAmount = Decimal::max();

void load(Bounds& b, const std::string& code, Kind kind, int currentYear) {
  std::string c = fitWidth(code, 4);
  b.set = c == "= 0 " || c == ">=0 " || c == ">0  ";
  if (c == "= 0 ") {
    b.low = b.high = Decimal();
  } else if (c == ">=0 " || c == ">0  ") {
    bool positive = c == ">0  ";
    switch (kind) {
      case Kind::Month: b.low = Decimal::fromInt(positive ? 1 : 0), b.high = Decimal::fromInt(12); break;
      case Kind::Year: b.low = Decimal::fromInt(2004), b.high = Decimal::fromInt(currentYear + 1); break;
      case Kind::Day: b.low = Decimal::fromInt(positive ? 1 : 0), b.high = Decimal::fromInt(31); break;
      case Kind::Amount: b.low = positive ? Decimal::fromUnits(100) : Decimal(), b.high = kAnyAmount; break;
    }
  }
}

}  // namespace

void ControlRangeLoad(Globals& GLO, const VEZNATAB& vez) {
  int year = today().year();
  ControlRanges& r = GLO.Ranges;
  load(r.OBRMJE, vez.OBRMJE, Kind::Month, year);
  load(r.GODINA, vez.GODINA, Kind::Year, year);
  load(r.PLAGOD, vez.PLAGOD, Kind::Year, year);
  load(r.PLAMJE, vez.PLAMJE, Kind::Month, year);
  load(r.DANOD, vez.DANOD, Kind::Day, year);
  load(r.DANDO, vez.DANDO, Kind::Day, year);
  load(r.IZNOS7, vez.IZNOS7, Kind::Amount, year);
  load(r.IZNOS8, vez.IZNOS8, Kind::Amount, year);  // "<=>0" keeps the bounds
  load(r.IZNOS9, vez.IZNOS9, Kind::Amount, year);
  load(r.IZNOS10, vez.IZNOS10, Kind::Amount, year);
  load(r.IZNOS11, vez.IZNOS11, Kind::Amount, year);
}

}  // namespace kdm
