#include "platform/errors.h"

namespace kdm {

const char* errorText(ErrorCode code) {
  switch (code) {
    case ErrorCode::None: return "No error";
    case ErrorCode::FileNotFound: return "File not found";
    case ErrorCode::PathNotFound: return "Path not found";
    case ErrorCode::AccessDenied: return "Access denied";
    case ErrorCode::FileLocked: return "File is in use by another window";
    case ErrorCode::NoMoreRecords: return "No more records";
    case ErrorCode::RecordNotFound: return "Record not found";
    case ErrorCode::FileNotOpen: return "File not open";
    case ErrorCode::DuplicateKey: return "Creating a record with a duplicate key";
    case ErrorCode::OutOfRange: return "Value out of range";
    case ErrorCode::TextTooLong: return "Text longer than its field";
    case ErrorCode::NotEncodable: return "Text cannot be written in code page 1250";
    case ErrorCode::InvalidValue: return "Invalid value";
    case ErrorCode::UnknownLabel: return "Unknown file label";
    case ErrorCode::UnknownKey: return "Unknown key";
    case ErrorCode::UnknownField: return "Unknown field";
    case ErrorCode::NotADatabase: return "The data file is damaged or not a database";
    case ErrorCode::DatabaseError: return "Database error";
    case ErrorCode::ReadError: return "Read error";
    case ErrorCode::WriteError: return "Write error";
    case ErrorCode::InvalidInput: return "Invalid input";
  }
  return "Unknown error";
}

Error makeError(ErrorCode code, std::string detail) {
  Error e;
  e.code = static_cast<int>(code);
  e.text = detail.empty() ? std::string(errorText(code)) : std::move(detail);
  return e;
}

}  // namespace kdm
