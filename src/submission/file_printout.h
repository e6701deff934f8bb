// Page A and the B pages of the first form of any submission file, also a
// file whose form is not in the data files (one received on a medium).
//
// The file is copied to TBSLOG3.TXT in the data directory and read until
// its first form is complete. Page A becomes a page-A record of its own in
// TBOBRAZA, identifier "888" + the form serial, which replaces the one of
// an earlier print of the same serial and type of calculation and stays
// after printing, so the form printout reads it as any other form. For the
// B pages the page-A record is only held in memory (identifier "999" +
// serial) and the insured-person records fill the print file TBOSIGU1,
// padded to whole pages of twelve rows. The printing itself is the form
// printouts' business; these functions prepare what they read and set the
// globals they need (GLO.KonVeza, GLO.IspisKB and, for the B pages,
// GLO.IdObrasca and GLO.MbObveznika).
#pragma once

#include <string>

#include "app/globals.h"
#include "data/record_layer.h"
#include "data/records.h"
#include "platform/report.h"
#include "submission/submission_file.h"

namespace kdm {

inline constexpr int kRowsPerPageB = 12;

// The page-A record a form record stands for: identifier `prefix` + the
// form serial, the control number made of `hash`.
TBOBRAZA pageAFromFormRecord(const SubmissionLine& form, const std::string& prefix, const std::string& hash);

// "Ispis A stranice": the "888" page-A record of the file's first form.
// Before the form record the status line shows the file's control number.
// True, with GLO.KonVeza naming the record, when it was stored.
bool preparePageAFromFile(Globals& GLO, DataStore& store, const std::string& path, Reporter& out);

// "Ispis B stranica": TBOSIGU1 filled with the rows of the file's first
// form and its filler rows, `pageA` the "999" page-A record. True when the
// file held a form record.
bool preparePageBFromFile(Globals& GLO, DataStore& store, const std::string& path, TBOBRAZA& pageA, Reporter& out);

}  // namespace kdm
