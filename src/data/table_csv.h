// CSV export and import of any label, driven by the catalogue.
//
// Export writes a header of the field names without prefix and one line
// per record (UTF-8, RFC 4180, CR LF), decimals with a point and their
// scale, dates YYYY-MM-DD, in the order of a key. Import reads the same
// form with any subset of the fields in any order; every row goes through
// the record layer (priming, auto-numbers, validation, unique keys) and
// all rows are stored in one transaction or none.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "data/record_layer.h"

namespace kdm {

// `key` null: the primary key, else physical order (text labels: always
// the order of their lines).
Error exportCsv(DataStore& store, const LabelDef& def, const KeyDef* key, std::ostream& out);

// The first failing row is reported as "line N: " + the message and
// nothing is stored. `stored` tells how many rows were stored.
Error importCsv(DataStore& store, const LabelDef& def, std::string_view csv, std::int64_t& stored);

}  // namespace kdm
