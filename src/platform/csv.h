// Comma-separated text as RFC 4180 writes it, in UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace kdm {

class CsvReader {
 public:
  // `text` must outlive the reader. A leading byte-order mark is skipped.
  explicit CsvReader(std::string_view text);

  // The next record; false at the end, or on malformed input with error()
  // set (naming the line).
  bool next(std::vector<std::string>& fields);
  // The line on which the record last returned began (1 for the first).
  std::size_t line() const { return recordLine_; }
  const Error& error() const { return error_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
  std::size_t recordLine_ = 0;
  Error error_;
};

// Checks that `text` is UTF-8 text a CSV reader should read (no NUL bytes,
// valid UTF-8); the error names the first offending line.
Error checkCsvText(std::string_view text);

// One field, quoted when it holds a comma, a quote, a line end or a blank
// at either end.
std::string csvField(std::string_view value);
// A whole record with CR LF.
std::string csvLine(const std::vector<std::string>& fields);

}  // namespace kdm
