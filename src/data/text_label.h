// Records of the text labels (fixed-width CP1250 files in the data
// directory), cut and joined by the widths the catalogue declares.
#pragma once

#include <cstdint>
#include <string>

#include "data/record.h"
#include "data/record_layer.h"
#include "platform/textfile.h"

namespace kdm {

class TextLabelFile {
 public:
  TextLabelFile(DataStore& store, const LabelDef& def);

  const LabelDef& def() const { return def_; }
  std::string path() const;

  Error openRead();    // creates the file empty when missing
  Error openAppend();
  Error openEmpty();   // empties the file, then appends
  Error close() { return file_.close(); }

  // The next line cut into the record's fields (values keep the blanks of
  // their width); false at the end.
  bool read(Record& rec);
  const Error& readError() const { return file_.error(); }
  // Validates the record (widths, CP1250, the label's validations) and
  // appends it as one line.
  Error append(const Record& rec);

 private:
  DataStore& store_;
  const LabelDef& def_;
  std::vector<std::size_t> widths_;
  TextFile file_;
  std::string line_;
};

// Lines in a text label's file; 0 when it does not exist.
std::int64_t countLines(const std::string& path);

}  // namespace kdm
