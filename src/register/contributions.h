// The pension contributions of an employee row, from the rate table.
//
// TBSTOPE holds, for each combination of type of calculation, obligor
// type, basis of insurance, service code and pillar-II membership, two
// pillar-I and two pillar-II rates in percent. The row takes the rates of
// its combination and its contributions are the base times the summed
// rates, in exact decimals, rounded half away from zero to the cent. A
// combination without rates leaves the row as it is: the user types the
// amounts, and may overwrite the calculated ones as well.
#pragma once

#include "data/record_layer.h"
#include "data/records.h"

namespace kdm {

// Sets RAD:PRVISTUP1/2, RAD:DRUGISTUP1/2, RAD:IZNOS9 and RAD:IZNOS10 from
// the rates of the row's combination. False, with the row unchanged, when
// there is no rate record for it (or the rate table cannot be read).
bool calculateContributions(DataStore& store, TBZAPOSL& rad);

// Entering the contribution amounts, as the window does: the rates of the
// row's combination are always taken, and each contribution is calculated
// unless the user typed it (`typedPillar1`, `typedPillar2`: the amount in
// the row stays). False, with the row unchanged, when there are no rates.
bool enterContributions(DataStore& store, TBZAPOSL& rad, bool typedPillar1, bool typedPillar2);

}  // namespace kdm
