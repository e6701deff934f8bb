// The collective submission file: the files of several obligors joined
// into VALTA.RM0 under one control number.
//
// Every obligor processed in the form-creation or take-over window is
// recorded in the collective list TBTMPDAT with the path of its own
// submission file. Forming the collective file writes a header of its own
// to TBVALTA.TXT, appends the form, insured-person and form-trailer
// records of every listed file in list order (their own headers and file
// trailers left out, their sign characters kept), closes with a file
// trailer that counts the forms, hashes the result, puts it in place as
// VALTA.RM0 in the output directory and marks every listed form with the
// common control number.
//
// Nothing stale is ever joined or delivered: when a listed file cannot be
// copied or read the run stops before VALTA.RM0 is touched and before any
// form is marked, and VALTA.RM0 is replaced through a temporary file, so a
// failed run leaves the previous one whole.
#pragma once

#include <string>

#include "app/globals.h"
#include "data/record_layer.h"
#include "data/records.h"
#include "platform/report.h"

namespace kdm {

// Records an obligor's form in the collective list. With `emptyFirst`
// (single delivery, and a collective delivery with "Novi file") the list
// is emptied first; with "Dodaj u file" the entry is added to it.
// `imeDatoteke` is the path of the obligor's submission file; one longer
// than the list's field is refused rather than stored cut. Failures are
// reported ("Greška. Open TBTMPDAT ", "Greška. Empty TBTMPDAT ",
// "Greška. Add TBTMPDAT " followed by the error text); false when the form
// is not in the list afterwards (a form formed again is listed already:
// its entry's key refuses the second one).
bool addToCollectiveList(DataStore& store, Reporter& out, bool emptyFirst, const TBPOSLOD& pos,
                         const std::string& konVeza, const std::string& imeDatoteke);

// "&Odredi zbirni HASH": forms the collective file from the list.
// GLO.Status is 2 when the file was formed and every listed form marked
// (GLO.ImeDatoteke is then the path of VALTA.RM0), 1 when anything failed.
// The date of sending is GLO.DatSlanja.
void formCollectiveFile(Globals& GLO, DataStore& store, Reporter& out);

}  // namespace kdm
