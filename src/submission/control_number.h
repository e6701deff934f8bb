// The control number of a form and the copy of a submission file to the
// removable medium that is delivered to VALTA.
//
// The control number is the hash of the submission file written as four
// groups of ten characters joined by "-"; it is stored in A:KONZNAK of
// every form the file holds. The copy to the medium replaces whatever file
// is at the destination; it is written under a temporary name and renamed,
// so a failed copy never leaves a truncated file there.
#pragma once

#include <string>
#include <string_view>

#include "data/record_layer.h"
#include "platform/report.h"

namespace kdm {

// Stores the control number made of `hash` in the page-A record of the
// form `konVeza`. Reports "Greška kod ažuriranja SHA broja (1)=" +
// `identifikator` when the form is missing and "Greška kod ažuriranja SHA
// broja (2)" when it cannot be written; false then.
bool storeControlNumber(DataStore& store, Reporter& out, const std::string& konVeza,
                        const std::string& identifikator, std::string_view hash);

// Whether the file for "Prijepis file-a" is there; reports "File: " +
// `name` + " nije pronađen" when not.
bool copySourceExists(const std::string& name, Reporter& out);

// "Kopiraj datoteku": replaces `destination` with a copy of `source`.
// Reports "Greška, file: " + source + " " + destination + " Error=" +
// error text and returns false when the copy fails. The destination is
// left alone when the source is missing, and a destination that is the
// source itself is already the copy.
bool copyToMedium(const std::string& source, const std::string& destination, Reporter& out);

}  // namespace kdm
