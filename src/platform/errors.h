// Error codes and texts of the store, the record layer and the file adapters.
//
// Every operation that can fail returns an Error: a code from the one list
// below and a text fit to show the user. Callers test the code right after
// the call; windows and the command line put the text into their messages
// ("Greška " + code, or their own wording followed by the text).
#pragma once

#include <string>

namespace kdm {

enum class ErrorCode : int {
  None = 0,
  FileNotFound = 2,
  PathNotFound = 3,
  AccessDenied = 5,
  FileLocked = 32,         // opened exclusively by another window, or in use when exclusive is asked
  NoMoreRecords = 33,      // next/previous ran past the end of the key order
  RecordNotFound = 35,     // no record with the key value
  FileNotOpen = 37,
  DuplicateKey = 40,       // a unique key would hold a value twice
  OutOfRange = 41,         // a validated field outside its allowed range
  TextTooLong = 42,        // text longer than its field
  NotEncodable = 43,       // text that code page 1250 cannot hold
  InvalidValue = 44,       // a value that is not of the field's type
  UnknownLabel = 45,
  UnknownKey = 46,
  UnknownField = 47,
  NotADatabase = 90,       // kdm.db is damaged or not a database
  DatabaseError = 91,      // any other failure of the store
  ReadError = 92,
  WriteError = 93,
  InvalidInput = 94,       // malformed input file (CSV, text)
};

struct Error {
  int code = 0;
  std::string text;

  bool failed() const { return code != 0; }
  explicit operator bool() const { return failed(); }
  ErrorCode kind() const { return static_cast<ErrorCode>(code); }
};

// The standard text of a code, without detail.
const char* errorText(ErrorCode code);

// An error of `code`; `detail` replaces the standard text when given.
Error makeError(ErrorCode code, std::string detail = {});

inline Error ok() { return {}; }

}  // namespace kdm
