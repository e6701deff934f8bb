// The application parameters: who delivers the data (the authorised
// person, by company number MB or by personal number MBG, never both) and
// the working, input and output directories.
//
// There is one record, APL:RB = 1. The window "Promjena aplikacijskih
// parametara" only ever changes it; the menu makes sure it exists first
// (ensureParameters). The field checks run as the MB and MBG fields are
// left, the save checks when "&Spremi" is pressed; every refusal reports
// its message and the field the cursor goes back to ("APL:MB01",
// "APL:JMBG") and stores nothing. The placeholder MBG "1111111111111"
// passes these checks: it is the windows that produce or check submission
// data that refuse it.
#pragma once

#include "app/globals.h"
#include "data/record_layer.h"
#include "data/records.h"
#include "platform/errors.h"
#include "platform/report.h"

namespace kdm {

// Leaving APL:MB01: an 8-character MB other than "00000000" must be digits
// with a right check digit.
bool leaveParametersMb(Globals& GLO, const APLPARAM& apl, Reporter& out);
// Leaving APL:JMBG: a numeric MBG other than "0000000000000" must pass
// MbgCheck; anything not numeric is left to the save checks.
bool leaveParametersJmbg(Globals& GLO, const APLPARAM& apl, Reporter& out);

// The checks of "&Spremi", in order; false at the first refusal.
bool checkParametersForSave(Globals& GLO, const APLPARAM& apl, Reporter& out);

// Checks, then writes `apl` back as the record APL:RB = 1 through the
// record layer. A missing record or a failed write is reported with the
// record layer's text. True when stored.
bool saveParameters(Globals& GLO, DataStore& store, APLPARAM& apl, Reporter& out);

// Reads the record APL:RB = 1; false (and `apl` cleared) when there is none.
bool readParameters(DataStore& store, APLPARAM& apl);

// Where delivered files go: APL:IZLAZDIR, inside the data directory when it
// is relative, the data directory itself when it is blank.
std::string outputDirectory(const DataStore& store, const APLPARAM& apl);

// Makes sure the parameters record exists: when there is none, adds it
// directly with the bookkeeping-service defaults. `apl` receives the
// record as stored.
Error ensureParameters(DataStore& store, APLPARAM& apl);
Error ensureParameters(DataStore& store);

}  // namespace kdm
