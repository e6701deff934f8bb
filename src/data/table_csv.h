// CSV export and import of any label, driven by the catalogue.
//
// Export writes a header of the field names without prefix and one line
// per record (UTF-8, RFC 4180, CR LF), decimals with a point and their
// scale, dates YYYY-MM-DD, in the order of a key. Import reads the same
// form with any subset of the fields in any order; every row goes through
// the record layer (priming, auto-numbers, validation, unique keys) and
// all rows are stored in one transaction or none.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "data/record_layer.h"
#include "platform/csv.h"

namespace kdm {

// Rows of a CSV file of one label: the header names any subset of the
// label's fields in any order; each row's cells are parsed onto a record
// the caller has primed, so fields the header leaves out keep their value.
class CsvRowReader {
 public:
  // Checks the text and reads the header; errors name line 1.
  Error open(const LabelDef& def, std::string_view csv);
  // The next row that is not blank; false at the end or on malformed input
  // (then error() names the line).
  bool next();
  // Sets the fields of the current row on `rec`; the error is the field's.
  Error apply(Record& rec) const;
  // Whether the header names the field, and the current row's cell for it.
  bool names(int field) const;
  std::string cell(int field) const;
  std::size_t line() const { return reader_ ? reader_->line() : 1; }
  const Error& error() const { return error_; }
  // "line N: " + the error's text, with its code.
  Error atLine(const Error& e) const;

 private:
  std::unique_ptr<CsvReader> reader_;
  std::vector<int> columns_;
  std::vector<std::string> row_;
  Error error_;
};

// `key` null: the primary key, else physical order (text labels: always
// the order of their lines).
Error exportCsv(DataStore& store, const LabelDef& def, const KeyDef* key, std::ostream& out);

// The first failing row is reported as "line N: " + the message and
// nothing is stored. `stored` tells how many rows were stored.
Error importCsv(DataStore& store, const LabelDef& def, std::string_view csv, std::int64_t& stored);

}  // namespace kdm
