// Fixed-width text files: CP1250 on disk, one record per line, CR LF.
//
// A line is cut into fields by their widths in declaration order. A short
// line reads as if padded with blanks; a line longer than its layout keeps
// only what the layout covers; a line of more than kMaxLine bytes is read
// in full up to that many bytes and the rest of it skipped, so no input can
// make the reader hold an unbounded line in memory. A last line without a
// line end is still a line; a lone LF ends a line as CR LF does.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace kdm {

class TextFile {
 public:
  static constexpr std::size_t kMaxLine = 1 << 16;

  TextFile() = default;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  ~TextFile();

  // Opens for reading; a missing file is created empty first when `create`.
  Error openRead(const std::string& path, bool create = true);
  // Opens for appending, creating the file when missing.
  Error openAppend(const std::string& path);
  // Empties the file (creating it when missing) and opens it for appending.
  Error openEmpty(const std::string& path);
  Error close();
  bool isOpen() const { return file_ != nullptr; }

  // The next line's bytes without its line end; false at the end or on a
  // read error (then error() tells).
  bool readLine(std::string& bytes);
  // Whether the last line read was longer than kMaxLine and cut.
  bool lastLineCut() const { return lastCut_; }
  const Error& error() const { return error_; }

  // Appends `bytes` (already CP1250) and CR LF.
  Error appendRaw(std::string_view bytes);
  // Appends UTF-8 text converted to CP1250, and CR LF.
  Error appendLine(std::string_view utf8);

 private:
  bool fill();

  std::FILE* file_ = nullptr;
  std::string path_;
  std::vector<char> buf_;
  std::size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
  bool lastCut_ = false;
  Error error_;
};

// Cuts a raw CP1250 line into UTF-8 values, each exactly its width.
std::vector<std::string> cutFixed(std::string_view rawLine, const std::vector<std::size_t>& widths);
// Joins UTF-8 values, each blank-padded or cut to its width, into a raw
// CP1250 line without line end. False when a value cannot be written in
// CP1250.
bool joinFixed(const std::vector<std::string>& values, const std::vector<std::size_t>& widths, std::string& rawLine);

}  // namespace kdm
