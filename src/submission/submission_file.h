// The submission file delivered to VALTA: its five record types, their
// writer and their reader.
//
// A submission file is a CP1250 text file of 250-character records, one a
// line, lines ended by CR LF. Character 250 is the record type: 0 header
// (the authorised person who delivers the file), 3 form (page A of one
// form), 5 insured person (one page-B row), 7 form trailer, 9 file trailer.
// A file holds one header, then for every form its form record, its
// insured-person records and its trailer, then one file trailer.
//
// The five layouts below (prefixes SL0 ... SL9, fields KD0MBOO ...
// KD9TIPS) are the only declaration of where a field lies: the record
// builders fill them, the reader cuts fields out of them by name, and the
// formal check and the field breakdown walk them field by field.
//
// Inside the program a record is a UTF-8 string of 250 characters, so
// names keep their Croatian letters; the writer converts each record to
// CP1250 as it appends it. The writer streams: every record goes straight
// to the end of its buffered file, nothing of the file is held in memory,
// and nothing is flushed before the file is closed.
//
// Readers never read the chosen file itself: they copy it to TBVALTA1.TXT
// in the data directory first and read the copy, line by line, each line
// padded with blanks or cut to 250 characters. Any bytes are accepted; a
// line longer than TextFile allows is cut there.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/record_layer.h"
#include "data/records.h"
#include "platform/date.h"
#include "platform/decimal.h"
#include "platform/errors.h"
#include "platform/report.h"
#include "platform/textfile.h"
#include "submission/fixed_layout.h"

namespace kdm {

inline constexpr std::size_t kSubmissionRecordWidth = 250;
inline constexpr const char* kFormatMark = "RM500";

// The five layouts in type order: SL0, SL3, SL5, SL7, SL9.
const std::vector<FixedLayout>& submissionLayouts();
// The layout of record type '0', '3', '5', '7' or '9'; nullptr for any
// other character.
const FixedLayout* submissionLayout(char type);
// The field of any record type by name ("KD5MBGO"); nullptr when none.
const FixedField* submissionField(std::string_view name);

// How the header and the file trailer carry the authorised person's MB
// and MBG. OneForm: a valid MBG wins over a valid MB and exactly one of
// the two is filled, both blank when neither is valid. Collective: both
// are filled, each part zero-replaced when it is not numeric.
enum class HeaderRule { OneForm, Collective };

// KD3RBSU: characters 4-7 of the form identifier, or "0" and characters
// 4-6 when the seventh is blank (a natural person's three-character serial).
std::string formSerial(std::string_view identifier);

std::string headerRecord(const APLPARAM& apl, Date datSlanja, HeaderRule rule);
std::string formRecord(const TBOBRAZA& a, SignStyle sign);
// `ordinal` is KD5RBRO: the person's number within the form.
std::string insuredRecord(const TBOSIGUR& osi, std::int64_t ordinal, SignStyle sign);
std::string formTrailerRecord(const TBOBRAZA& a, std::int64_t insuredRecords, Date datSlanja);
std::string fileTrailerRecord(const APLPARAM& apl, Date datSlanja, std::int64_t forms, HeaderRule rule);

// Writes the submission file of one form: TBVALTA.TXT and the work files
// TBSLOG0 ... TBSLOG9.TXT in the data directory, every record first to the
// work file of its type, then to TBVALTA.TXT. Failures are reported with
// the program's messages and remembered: a writer that failed() must not
// have its file hashed or copied.
//
//   SubmissionWriter w(store, out, SignStyle::Zero);
//   w.begin();
//   w.writeHeader(apl, GLO.DatSlanja);
//   w.writeForm(a);
//   for each page-B row in key order: w.writeInsured(row);
//   w.writeFormTrailer(a, GLO.DatSlanja);
//   w.writeFileTrailer(apl, GLO.DatSlanja);
//   if (w.finish()) hash w.path() ...
class SubmissionWriter {
 public:
  SubmissionWriter(DataStore& store, Reporter& out, SignStyle sign);
  SubmissionWriter(const SubmissionWriter&) = delete;
  SubmissionWriter& operator=(const SubmissionWriter&) = delete;
  ~SubmissionWriter();

  // Empties TBVALTA.TXT and the five work files and opens them. Returns
  // false when TBVALTA.TXT could not be opened ("Greška kod otvaranja
  // TBVALTA"); a work file that cannot be opened is reported and left out.
  bool begin();

  void writeHeader(const APLPARAM& apl, Date datSlanja);
  void writeForm(const TBOBRAZA& a);
  // Numbers the person: a new number whenever the MBG differs from the
  // previous row's.
  void writeInsured(const TBOSIGUR& osi);
  void writeFormTrailer(const TBOBRAZA& a, Date datSlanja);
  void writeFileTrailer(const APLPARAM& apl, Date datSlanja);
  // Any record of 250 characters, typed by its character 250.
  void write(std::string_view record);

  // Closes every file ("Greška kod zatvaranja TBVALTA" and so on when the
  // last of it could not be written). True when the whole file was written.
  bool finish();

  bool failed() const { return failed_; }
  std::string path() const;                         // TBVALTA.TXT
  std::int64_t insuredRecords() const { return rows_; }  // since the last form record
  std::int64_t persons() const { return persons_; }      // since the last form record

 private:
  struct Target {
    std::string label;  // "TBVALTA", "TBSLOG0", ...
    TextFile file;
    bool reported = false;  // a write failure is reported once per file
  };
  void append(Target& t, std::string_view raw);
  void close(Target& t);

  DataStore& store_;
  Reporter& out_;
  SignStyle sign_;
  std::array<Target, 6> targets_;  // TBVALTA first, then TBSLOG0 ... TBSLOG9
  bool failed_ = false;
  std::int64_t rows_ = 0, persons_ = 0;
  std::string lastJmbg_;
  std::string raw_;
};

// One record as read: 250 CP1250 characters, whatever the line held.
class SubmissionLine {
 public:
  SubmissionLine() = default;
  // The line padded with blanks or cut to 250 characters.
  explicit SubmissionLine(std::string_view rawLine) { assign(rawLine); }
  void assign(std::string_view rawLine);

  // Character 250, the record type (any byte the file held there).
  char type() const { return raw_[kSubmissionRecordWidth - 1]; }
  std::string_view raw() const { return raw_; }
  // The 250 characters as UTF-8.
  std::string text() const;
  // The layout of its type; nullptr for an unknown type.
  const FixedLayout* layout() const { return submissionLayout(type()); }
  // A field by name, cut at its position whatever the line's type; UTF-8,
  // exactly the field's width. Empty when no record type has the field.
  std::string field(std::string_view name) const;
  std::string field(const FixedField& f) const;

 private:
  std::string raw_ = std::string(kSubmissionRecordWidth, ' ');
};

class SubmissionReader {
 public:
  // Copies `path` to TBVALTA1.TXT in the data directory and opens the
  // copy. Fails (and reads nothing) when `path` is not a readable file.
  Error open(DataStore& store, const std::string& path);
  // The next record; false at the end or on a read error (then error()).
  bool next(SubmissionLine& line);
  const Error& error() const { return file_.error(); }
  // Lines read so far (the number of the last one).
  std::int64_t lineNumber() const { return lines_; }
  void close() { file_.close(); }

 private:
  TextFile file_;
  std::string buf_;
  std::int64_t lines_ = 0;
};

// Copies a file to be read over `copyPath` (no temporary: the copy is a
// scratch file). Refuses anything that is not a regular file.
Error copyForReading(const std::string& path, const std::string& copyPath);

}  // namespace kdm
