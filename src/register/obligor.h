// The register of obligors (TBPOSLOD): reading one for the obligor window,
// priming a new one, the save checks, saving and deleting.
//
// Whether an obligor must carry a company number (MB) or a personal number
// (MBG) depends on its type: the flags VOB:MB01 and VOB:MBG of the
// obligor-type table say "DA" or "NE". Type "17" (an obligor with neither)
// skips those rules; a natural person's business of type "02" may carry
// both when its MB starts with 8 or 9. The check digits are tested last.
// Every refusal reports its message, the warning beep where the check has
// one, and the field the cursor goes back to ("POS:NAZIV", "POS:MB01",
// ...). An empty MB is "00000000" with the second part "0000", an empty MBG
// "0000000000000"; blank counts as not given as well.
#pragma once

#include <cstdint>
#include <string>

#include "app/globals.h"
#include "data/record_layer.h"
#include "data/records.h"
#include "platform/report.h"

namespace kdm {

// Reads the obligor numbered `number` by POS:KEYREDBROJ into `pos`;
// "Greška kod čitanja TBPOSLOD" when there is none.
bool readObligor(DataStore& store, std::int16_t number, TBPOSLOD& pos, Reporter& out);

// A cleared obligor with the stand-ins for the numbers not yet given.
void primeNewObligor(TBPOSLOD& pos);

// The long description (VOB:OPIS) of an obligor type; empty when unknown.
std::string obligorTypeDescription(DataStore& store, const std::string& type);

// The checks of "&Spremi", in order, the obligor number (1 to 999) first;
// false at the first refusal.
bool checkObligorForSave(Globals& GLO, DataStore& store, const TBPOSLOD& pos, Reporter& out);

// Checks, then stores: a new obligor is inserted, an existing one (the
// obligor GLO.Firma, read again so its number may change) is written back.
// A refused write, such as an obligor number already taken, is reported
// with the record layer's text. True when stored.
bool saveObligor(Globals& GLO, DataStore& store, TBPOSLOD& pos, bool isNew, Reporter& out);

// Deletes the obligor numbered `number`, and only it: its employee rows
// and forms stay in their files. GLO.Firma is set to the number.
bool deleteObligor(Globals& GLO, DataStore& store, std::int16_t number, Reporter& out);

}  // namespace kdm
