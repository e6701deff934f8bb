// What an import run leaves for the user: the error list TBGRESKE and the
// counts of the result window "Izvješće o obavljenoj obradi".
//
// The input check and the forming of forms from imported data both empty
// the error list when they begin and add one record per finding: the
// message, cut at 80 characters, and the offending line's fields as text,
// exactly as they stand in the file. The findings are stored directly,
// without the record layer's validation: a line whose year is garbage is
// precisely the line whose finding must not be refused. The numbers start
// at 1 in every run, after whatever the list still holds when it could
// not be emptied, so two findings never share a number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "data/record_layer.h"
#include "data/records.h"
#include "platform/report.h"

namespace kdm {

// The result window. The input check fills the obligor's own MB and MBG;
// the forming of forms those of the last line read, and the note line.
struct ImportResult {
  bool shown = false;         // the lines were read and the window shown
  std::int64_t read = 0;      // "Ukupno obrađeno redaka"
  std::int64_t accepted = 0;  // "Retci koji zadovoljavaju kontrolama"
  std::int64_t marked = 0;    // "Podaci sa upozorenjima"
  std::string MB;             // "MB firme", 8 characters
  std::string MBG;            // "MBG", 13 characters
  int dayFrom = 0, dayTo = 0; // "Vremensko razdoblje"
  std::string type;           // "Vrsta uplate"
  int year = 0, month = 0;
  std::string note;
};

class FindingList {
 public:
  explicit FindingList(DataStore& store);

  // Opens the list exclusively and empties it. Failures are reported
  // ("Greška pri otvaranju TBGRESKE ", "Greška pri pražnjenju TBGRESKE "
  // followed by the system's text) and the run goes on with the list as it
  // is.
  void begin(Reporter& out);
  // One finding about `line`. A finding that cannot be stored is reported
  // ("Greška kod upisa " + the error number), once per run.
  void add(const TBUPLATE& line, std::string_view text, Reporter& out);
  // Findings stored by this run.
  std::int64_t count() const { return stored_; }
  // Where the list ends now; give it to rollBackKeeping.
  std::int64_t end();
  // Rolls back `tx`, begun when the list ended at `end`, and stores again
  // the findings added since: the findings of a rejected run outlive the
  // rows it rolls back.
  void rollBackKeeping(Transaction& tx, std::int64_t end, Reporter& out);
  void close() { file_.close(); }

 private:
  RecordFile file_;
  Record rec_;
  std::int64_t next_ = 1;
  std::int64_t stored_ = 0;
  bool failureReported_ = false;
};

}  // namespace kdm
