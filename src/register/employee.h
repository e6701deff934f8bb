// Employee rows (TBZAPOSL): one row per insured person and pay period of
// an obligor, later turned into the page-B rows of its forms.
//
// A row is checked twice. While it is edited, each field is checked as it
// is left (the leave* functions). When it is saved, the year, membership
// and month are checked, and then, except for the types of calculation
// "88" and "99", the row is held against the control matrix: the matrix
// row of its obligor type, type of calculation and basis of insurance is
// loaded into GLO.Ranges by ControlRangeLoad and the month, year, days and
// the five amounts must lie inside their bounds. A combination missing
// from the matrix is only a warning; the bounds then stay as the previous
// load left them. An amount that must be above 0 may still be exactly 0
// when a stored row of the same person, year and month already carries
// that amount above 0 (the rows are read through the second view RAD1).
// Every refusal reports its message and the field the cursor goes back to
// ("RAD:GODOBRA", "RAD:IZNOS7", ...).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/globals.h"
#include "data/record_layer.h"
#include "data/records.h"
#include "platform/date.h"
#include "platform/report.h"

namespace kdm {

// Checks as a field is left; each reports and returns false when the
// cursor stays in the field.
bool leaveRowJmbg(Globals& GLO, const TBZAPOSL& rad, Reporter& out);
bool leaveRowYear(const TBZAPOSL& rad, Reporter& out);
bool leaveRowMonth(const TBZAPOSL& rad, Reporter& out);
bool leaveRowFirstDay(Globals& GLO, const TBZAPOSL& rad, Reporter& out);
bool leaveRowLastDay(Globals& GLO, const TBZAPOSL& rad, Reporter& out);
bool leaveRowPillar2(const TBZAPOSL& rad, Reporter& out);

// The birth date in a personal number: day, month and the last three
// digits of the year, the century 2000 when the fifth digit is 0. No date
// when the number does not hold one.
Date birthDateOf(std::string_view jmbg);

// The short description (VUP:SKROPIS) of a type of calculation; empty
// when unknown.
std::string calculationTypeShort(DataStore& store, const std::string& code);

// A new row of the obligor: its number and type, nothing else; a
// municipality the user does not give stays blank and is refused later.
TBZAPOSL newEmployeeRow(const TBPOSLOD& pos);
// "&Kopiraj": a new row that takes the highlighted row's surname and
// name, municipality and service code; days and the pillar-II and net
// amounts start at 0, the personal number blank. The authorised person's
// seat is the copy's default municipality, kept only when the highlighted
// row has none.
TBZAPOSL copyEmployeeRow(const TBPOSLOD& pos, const APLPARAM& apl, const TBZAPOSL& highlighted);

// The checks of "&Spremi", in order; false at the first refusal. Warnings
// (a three-digit year, a combination missing from the matrix) are reported
// and the checks go on. An amount the submission file cannot hold is
// refused before the control matrix is asked.
bool checkEmployeeRowForSave(Globals& GLO, DataStore& store, const TBZAPOSL& rad, Reporter& out);

// Saving a row: first the checks of leaving each field, in the window's
// order (personal number, year, month, days, the pillar-II amount), so a
// row typed elsewhere than in the window gets them too; then the checks
// of "&Spremi"; then a new row is inserted, a changed one written over the
// stored row `rowid`. A refused write is
// reported with the record layer's text. True when stored; `storedRowid`,
// when given, receives the row's rowid.
bool saveEmployeeRow(Globals& GLO, DataStore& store, TBZAPOSL& rad, bool isNew, std::int64_t rowid, Reporter& out,
                     std::int64_t* storedRowid = nullptr);

}  // namespace kdm
