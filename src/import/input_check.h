// The input check of a payroll file ("Kontrola ulaznih podataka").
//
// Before forms are formed from a payroll file the user can check it: the
// lines of one obligor, month, period and payment type are checked as the
// registry would check them, every finding goes to the error list
// TBGRESKE, and two working files are refilled for review: TBOSIGU3 with
// every line of the file, TBOSIGU2 with the selected lines that passed.
// Nothing is formed and nothing is written for the registry.
//
// A person reported on consecutive lines needs a positive amount on one of
// them only: the check remembers, per amount, the last positive value
// among the uninterrupted lines of the same MBG, selected or not, and a
// zero under a positive lower bound passes when that value is positive.
//
// The working files are emptied and refilled in one transaction, so a run
// that dies halfway leaves the previous run's review whole; the error list
// is emptied first, on its own, as the run begins.
#pragma once

#include <cstdint>
#include <string>

#include "app/globals.h"
#include "data/record_layer.h"
#include "data/records.h"
#include "import/results.h"
#include "platform/report.h"

namespace kdm {

// The window's own fields.
struct InputCheckWindow {
  std::int16_t year = 0, month = 0;        // "Obračunska godina", "mjesec"
  std::int16_t dayFrom = 0, dayTo = 0;     // "Za razdoblje od" ... " do "
  std::int16_t payYear = 0, payMonth = 0;  // "Isplata plaće"; the check does not use them
  std::string file;                        // "Ulazna datoteka "
  std::string MB01, MB02, JMBG;            // the chosen obligor's (LOC:)
};

// Opening the window: with the placeholder MBG of the authorised person
// shows the refusal and returns false, leaving the fields as they are;
// otherwise the input directory as the file name, no obligor, payment type
// "0", days 0 and 0, year and month of calculation and of payment today's.
bool openInputCheck(Globals& GLO, DataStore& store, InputCheckWindow& w, Reporter& out);

// Choosing an obligor in the drop list: its number, type and last sequence
// number into GLO, its MB and MBG into the window. False when there is no
// such obligor (nothing changes then).
bool chooseCheckObligor(Globals& GLO, DataStore& store, InputCheckWindow& w, std::int16_t number);

// Checks of the fields as they are left; each reports its message and the
// field, and returns false when the cursor stays.
bool leaveCheckYearField(const std::string& typed, Reporter& out);
bool leaveCheckMonthField(const Globals& GLO, const InputCheckWindow& w, Reporter& out);
bool leaveCheckDayField(Globals& GLO, const InputCheckWindow& w, std::int16_t day, Reporter& out);

// "&Kontrola podataka". True when the file was read through; `result` then
// holds the values of the result window. False when the run stopped (its
// message said why).
bool checkPayrollFile(Globals& GLO, DataStore& store, const InputCheckWindow& w, ImportResult& result, Reporter& out);

}  // namespace kdm
