// The check of a whole data directory: SQLite's own integrity check, then
// what SQLite cannot know about our data.
//
// Page-B rows hang on their page A by the form key; the collective list
// names the files the next collective run joins; a control number is the
// hash of the file that was delivered with it: the form's own copy in the
// output directory (named as form creation names it) or VALTA.RM0 there,
// for the forms of the collective file last formed. A form of an earlier
// collective file, since replaced, has no file left to match: for a form no
// longer listed that is a note, not a finding. Each broken rule is one
// finding, a line of text; the check reads and never writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/record_layer.h"

namespace kdm {

struct StoreCheckResult {
  std::vector<std::string> findings;  // empty when the store is sound
  std::vector<std::string> notes;     // what the check cannot decide
  std::int64_t forms = 0;             // page A records read
  std::int64_t rows = 0;              // page-B rows read
  std::int64_t listed = 0;            // entries of the collective list
};

// Runs every check; a part that cannot be read is a finding itself, and
// the other parts still run.
StoreCheckResult checkStore(DataStore& store);

}  // namespace kdm
