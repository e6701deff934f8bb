#include "platform/csv.h"

#include "platform/text.h"

namespace kdm {

CsvReader::CsvReader(std::string_view text) : text_(text) {
  if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
}

bool CsvReader::next(std::vector<std::string>& fields) {
  fields.clear();
  if (error_ || pos_ >= text_.size()) return false;
  recordLine_ = line_;
  std::string field;
  bool quoted = false;      // inside a quoted field
  bool wasQuoted = false;   // the current field was quoted (and closed)
  for (;;) {
    if (pos_ >= text_.size()) {
      if (quoted) {
        error_ = makeError(ErrorCode::InvalidInput,
                           "line " + std::to_string(recordLine_) + ": a quoted field is not closed");
        return false;
      }
      fields.push_back(std::move(field));
      return true;
    }
    char c = text_[pos_++];
    if (quoted) {
      if (c == '"') {
        if (pos_ < text_.size() && text_[pos_] == '"') {
          field += '"';
          ++pos_;
        } else {
          quoted = false;
          wasQuoted = true;
        }
      } else {
        if (c == '\n') ++line_;
        field += c;
      }
      continue;
    }
    if (c == ',') {
      fields.push_back(std::move(field));
      field.clear();
      wasQuoted = false;
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
      ++line_;
      fields.push_back(std::move(field));
      return true;
    } else if (c == '"') {
      if (!field.empty() || wasQuoted) {
        error_ = makeError(ErrorCode::InvalidInput,
                           "line " + std::to_string(line_) + ": a quote inside an unquoted field");
        return false;
      }
      quoted = true;
    } else {
      if (wasQuoted) {
        error_ = makeError(ErrorCode::InvalidInput,
                           "line " + std::to_string(line_) + ": text after the closing quote of a field");
        return false;
      }
      field += c;
    }
  }
}

Error checkCsvText(std::string_view text) {
  std::size_t line = 1;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\n') {
      std::string_view l = text.substr(lineStart, i - lineStart);
      if (l.find('\0') != std::string_view::npos || !isValidUtf8(l))
        return makeError(ErrorCode::InvalidInput,
                         "line " + std::to_string(line) + ": not UTF-8 text (is this a CSV file?)");
      ++line;
      lineStart = i + 1;
    }
  }
  return ok();
}

std::string csvField(std::string_view v) {
  bool quote = v.find_first_of(",\"\r\n") != std::string_view::npos ||
               (!v.empty() && (v.front() == ' ' || v.back() == ' '));
  if (!quote) return std::string(v);
  std::string out = "\"";
  for (char c : v) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string csvLine(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out += ',';
    out += csvField(fields[i]);
  }
  out += "\r\n";
  return out;
}

}  // namespace kdm
