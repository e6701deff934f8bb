// What the reviews of a formal check show, read from its stored result.
//
// TBIZLAZ holds every record of the checked file in five pieces of 50
// characters; TBIZLAZ1 holds the findings. The reviews put a record back
// together and break it down into its fields (a title and 26 rows of a
// label and a value, as both review lists show under the record), write
// the findings to the text file TBIZLAZ2.TXT, and give the error report
// the authorised person and the first form of the file, read from the
// stored records 1 and 2.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/record_layer.h"
#include "data/records.h"
#include "platform/report.h"

namespace kdm {

inline constexpr std::size_t kBreakdownRows = 26;

// One row of the breakdown: "N KD3MBOO" and the field's value.
struct BreakdownRow {
  std::string label;  // a kind letter (N or C), a blank and the field name; 10 characters at most
  std::string value;  // the field's characters, its first 50 when it is longer
};

struct FieldBreakdown {
  std::string title;  // e.g. "VODEĆI SLOG JEDNOG OBRASCA - tip sloga 3"; empty for an unknown type
  std::array<BreakdownRow, kBreakdownRows> rows;  // in field order, the rest blank
};

// The breakdown of a record given as UTF-8 text (blank-padded or cut to
// 250 characters); its type is character 250. Records of any other type
// than 0, 3, 5, 7 and 9 give an empty title and blank rows.
FieldBreakdown fieldBreakdown(std::string_view record);

// The 250 characters of a stored record: its five pieces, each
// blank-padded to 50 characters.
std::string recordText(const TBIZLAZ& row);

// The line or two lines of TBIZLAZ2.TXT for a finding: record number
// right-aligned in 5 positions, blank, column label in 10, blank, type,
// blank, characters 1-70 of the message; a second line with 19 blanks and
// characters 71-140 when those are not blank. A record number of more than
// five digits keeps all of them and makes its line that much longer.
std::vector<std::string> findingLines(const TBIZLAZ1& finding);

// PrebaciuTXT: empties TBIZLAZ2.TXT in the data directory and writes every
// finding of the last check to it, in the order of ULZ1:KEYVRSTA. Reports
// a failure and returns false; `lines` receives the number written.
bool PrebaciuTXT(DataStore& store, Reporter& out, std::int64_t* lines = nullptr);

// "Prijepis u txt file": PrebaciuTXT, then the message naming the file and
// the working directory.
bool writeFindingsText(DataStore& store, Reporter& out);

// A stored record and its findings in key order, for the reviews; false
// when the last check has no record `number`.
bool readCheckedRecord(DataStore& store, std::int64_t number, TBIZLAZ& row, std::vector<TBIZLAZ1>& findings);

// The header values of the error report. Rows 1 and 2 of TBIZLAZ give
// them when they are a header record and a form record; texts are as the
// fields hold them, without trailing blanks.
struct ErrorReportHeader {
  bool hasHeader = false;  // row 1 is a header record
  std::string mb, mbg, name, address, contact;
  std::string numbers;     // MB and MBG joined by " /"
  bool hasForm = false;    // row 2 is a form record
  std::string formMb, formMbg, serial, formName, paymentKind, obligorKind, monthYear;
};
ErrorReportHeader errorReportHeader(DataStore& store);

}  // namespace kdm
