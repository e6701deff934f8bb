// Forms from imported data ("Formiranje obrazaca K-Dm na temelju preuzetih
// podataka").
//
// What form creation does for the employee register, this does for a
// payroll file: the lines of one obligor, month, period and payment type
// become the page-B rows of one form, checked on the way much as the input
// check checks them, and from the rows on the steps are those of form
// creation (page A with its totals, the submission file with "+" sign
// characters, its hash, the obligor's copy, the collective list and the
// control number). Every line of another obligor or period is listed as
// "Redak nije preuzet."; the form is produced only when every selected line
// was taken, so one bad line stops the run after the rows and the user
// corrects the file and runs it again.
//
// A person's amounts may be spread over several rows: a zero under a
// positive lower bound passes when a row of the same person and month
// already in TBOSIGUR (of this form or another) has a positive amount in
// that column. Those rows are read only when such a zero turns up.
//
// The old rows of the form, the new rows and the findings change in one
// transaction. A row that cannot be stored keeps the form from being
// produced, as a rejected line does: a form must never leave out a line it
// was given.
#pragma once

#include <cstdint>
#include <string>

#include "app/globals.h"
#include "data/record_layer.h"
#include "forms/form_creation.h"
#include "import/results.h"
#include "platform/report.h"

namespace kdm {

// Opening the window: as form creation opens (the same refusal of the
// placeholder MBG), then the input directory as the file name, no obligor,
// payment type "0", days 0 and 0, "D" for the control number on printouts.
bool openPayrollForms(Globals& GLO, DataStore& store, std::string& file, Reporter& out);

// Choosing an obligor: its number, name, type and its last sequence number
// (the form formed last, not the next one). False when there is no such
// obligor (nothing changes then).
bool choosePayrollObligor(Globals& GLO, DataStore& store, std::int16_t number);

// Checks of the fields as they are left; each reports its message and the
// field, and returns false when the cursor stays. The year is copied into
// the payment year even when it is then refused; an accepted month into
// the payment month. Days are checked with form creation's leaveDayField.
bool leavePayrollYearField(Globals& GLO, const std::string& typed, Reporter& out);
bool leavePayrollMonthField(Globals& GLO, Reporter& out);
bool leavePayrollPayMonthField(Globals& GLO, Reporter& out);

// "&Obrada obveznika" for the payroll file `file`. `result` holds the
// values of the result window once the lines were read. Returns true
// exactly when GLO.Status is 2: the form, its file and its control number
// were produced.
bool formFromPayroll(Globals& GLO, DataStore& store, DeliveryMode mode, const std::string& file, ImportResult& result,
                     Reporter& out);

}  // namespace kdm
