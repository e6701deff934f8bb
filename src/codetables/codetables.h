// The rules of the code-table forms: the types of calculation or
// correction and the municipalities check their codes as they are typed,
// a new type of calculation may not repeat a code or a description, and
// the rate form shows the short description next to each of its codes.
// Everything else about a code table (unique keys, field widths) is the
// record layer's. The forms call these; nothing here shows anything.
#pragma once

#include <string>

#include "app/globals.h"
#include "data/record_layer.h"
#include "data/records.h"
#include "platform/report.h"

namespace kdm {

// Leaving the code of a type of calculation: two characters.
bool leaveCalculationTypeCode(const TBVRSUPL& vup, Reporter& out);
// "Spremi" on a new type of calculation: neither its code nor its
// description (letter case ignored) may exist already. A change is not
// checked.
bool checkNewCalculationType(DataStore& store, const TBVRSUPL& vup, Reporter& out);

// Leaving the code of a municipality: four characters, digits, and a valid
// check digit unless the code is "0000".
bool leaveMunicipalityCode(Globals& GLO, const TBOPCINE& opc, Reporter& out);

// The short description of a code of the code table `label` (TBVRSUPL,
// TBVRSOBV, TBOSNOBR or TBOZNSTA); blank when the code is not there.
std::string codeShortDescription(DataStore& store, const std::string& label, const std::string& code);

}  // namespace kdm
