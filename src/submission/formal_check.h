// The formal check of a submission file: every record of any file, field
// by field, against the code tables and the control matrix.
//
// The check never changes the file it is given and never stops at a
// finding. It copies the file to TBVALTA1.TXT in the data directory, reads
// the copy line by line (each line padded or cut to 250 characters, any
// bytes accepted), and keeps its result in two working files: TBIZLAZ, one
// row per record (its 250 characters in five pieces and a flag for records
// with findings), and TBIZLAZ1, one row per finding (record number, field
// label, "F" error or "U" warning, whose record it is, the message). The
// reviews and the text copy of the findings read them (check_review.h).
//
// The work is split so that each part can be driven on its own:
//  - CheckTables holds the code tables the checks read, loaded once per
//    run; a file of a million records asks them five million questions,
//    which an in-memory lookup answers in a fraction of a store read;
//  - RecordChecker runs the checks of one record after another and keeps
//    the working values a file needs (the current form, its sums, the
//    person seen last), so its memory does not depend on the file's size;
//  - runFormalCheck() is the button "&Kontrola datoteke": the refusal of
//    the placeholder, the copy, emptying and refilling the working files
//    in one transaction, the status line.
//
// A record of a type other than 0, 3, 5, 7 and 9 is stored with one error
// finding and nothing else checked; the order of the records is not
// checked: a file without a header or a form without its trailer gets no
// finding of its own for that.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/globals.h"
#include "data/record_layer.h"
#include "data/records.h"
#include "platform/date.h"
#include "platform/decimal.h"
#include "platform/report.h"
#include "submission/submission_file.h"

namespace kdm {

// One finding, as a TBIZLAZ1 row holds it.
struct Finding {
  std::int64_t record = 0;  // ULZ1:REDBROJ
  std::string column;       // ULZ1:KOLONA, e.g. "KD3MBOO"
  char type = 'F';          // 'F' error, 'U' warning
  std::string name;         // ULZ1:PREZIME: whose record it is
  std::string message;      // ULZ1:GRESKA
};

// The code tables of the checks, in memory. Lookups compare as the keyed
// store does: without trailing blanks and without regard to letter case.
class CheckTables {
 public:
  // Reads TBVRSOBV, TBVRSUPL, TBOSNOBR, TBOZNSTA, TBOPCINE, TBSTOPE and
  // VEZNATAB whole.
  Error load(DataStore& store);

  // UTF-8 codes; nullptr / false when the table has no such code.
  const TBVRSOBV* obligorKind(std::string_view vob) const;
  bool paymentKind(std::string_view voi) const;
  bool basis(std::string_view oo) const;
  bool serviceMark(std::string_view mark) const;
  bool municipality(std::string_view code) const;
  const TBSTOPE* rate(std::string_view voi, std::string_view vob, std::string_view oo, std::string_view staz,
                      std::string_view clandn) const;
  const VEZNATAB* matrix(std::string_view vob, std::string_view voi, std::string_view oo) const;

 private:
  std::unordered_map<std::string, TBVRSOBV> obligorKinds_;
  std::unordered_map<std::string, bool> paymentKinds_, bases_, serviceMarks_, municipalities_;
  std::unordered_map<std::string, TBSTOPE> rates_;
  std::unordered_map<std::string, VEZNATAB> matrix_;
};

// The checks of one record after another. `GLO` receives what the shared
// check routines report (GLO.Status) and the bounds of the control matrix
// (GLO.Ranges); `today` closes the range of dates.
class RecordChecker {
 public:
  RecordChecker(Globals& GLO, const CheckTables& tables, Date today);

  // Checks `line`, record number `number` of the file, and appends its
  // findings to `findings` in the order the checks run.
  void check(std::int64_t number, const SubmissionLine& line, std::vector<Finding>& findings);

  std::int64_t forms() const { return forms_; }  // form records seen so far

 private:
  struct Context;
  void header(Context& c);
  void form(Context& c);
  void insured(Context& c);
  void formTrailer(Context& c);
  void fileTrailer(Context& c);

  Globals& GLO;
  const CheckTables& tables_;
  Date today_;
  Date first_;  // 1 January 2005
  std::int64_t forms_ = 0;

  // The current form.
  std::string formName_;  // KD3NAOB, UTF-8
  std::string vob_, voi_;  // KD3VROB, KD3VROI, UTF-8
  std::string rbsu_;       // KD3RBSU, raw
  long long month_ = 0, year_ = 0;
  Decimal totals_[5];     // III.1 to III.5
  __int128 sums_[5] = {}; // sums of IV.7 to IV.11, in ten-thousandths
  std::int64_t insured_ = 0;
  std::string lastMbg_;   // raw KD5MBGO of the previous insured-person record
  Decimal perPerson_[5];  // last positive amount of the current person, per column
  const VEZNATAB* loaded_ = nullptr;  // the matrix row whose bounds GLO.Ranges holds

  // What the codes of the previous insured-person record of the form found.
  struct Codes {
    bool valid = false;
    std::string osob;  // raw KD5OSOB
    bool member = false;
    bool basis = false, mark = false;
    const TBSTOPE* rate = nullptr;
    const VEZNATAB* matrix = nullptr;
  } codes_;
  std::string lastGrop_ = std::string(1, '\0');  // raw KD5GROP of the previous record; none yet
  bool municipalityKnown_ = false;
};

// What a run did: whether the file was checked, its records and findings.
struct CheckSummary {
  bool checked = false;
  std::int64_t records = 0;
  std::int64_t errors = 0;    // findings of type "F"
  std::int64_t warnings = 0;  // findings of type "U"
};

// The entry of the window when it opens: the output directory, or nothing
// (with the refusal reported) while the parameters carry the placeholder.
bool openFormalCheck(DataStore& store, std::string& defaultPath, Reporter& out);

// "&Kontrola datoteke" on the file at `path`. Reports the status line as
// it goes ("Malo strpljenja. Radim...", "Obrađeno " + count every ten
// records, "Izvršena je kontrola datoteke.") and every failure. True when
// the file was checked and the result stored; findings never make it false.
bool runFormalCheck(Globals& GLO, DataStore& store, const std::string& path, Reporter& out,
                    CheckSummary* summary = nullptr);

// "Odredi SHA broj": the control number of the file at `path` in the
// status line; a file that cannot be read is reported instead.
bool showControlNumber(const std::string& path, Reporter& out);

}  // namespace kdm
