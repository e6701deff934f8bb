// The payroll file: what payroll software hands over, and how the input
// check and the forming of forms from imported data read it.
//
// Payroll software writes one fixed-width line per insured person and
// period: 21 fields, 194 characters, no separators, CP1250, lines ended by
// CR LF. The program never reads the chosen file itself: it first copies it
// over TBUPLATE.DAT in the data directory (the copy is written under a
// temporary name and renamed, so a failed copy leaves the previous staged
// file whole) and reads that copy once, line by line, in file order.
//
// A line is cut into the fields of the TBUPLATE label byte for byte; every
// byte becomes one character, the five bytes CP1250 leaves undefined
// included, so a name goes back into a submission file exactly as it came.
// A short line reads as if padded with blanks; whatever follows the 194th
// character is ignored; a line longer than the text reader allows is cut
// there. Nothing of a line is ever trusted: years, months and days that
// are not numbers count as 0, identity numbers that are not numbers
// compare as zeros, and an amount is valid only in its exact form (sign,
// fourteen digits, the last two decimals).
//
// Which lines belong to a run is decided by PayrollSelection: the chosen
// obligor's MB (both parts) and MBG, the year and month, the period of
// days, and the payment type. The callers (input_check.h and
// payroll_forms.h) decide what happens to the lines it leaves out.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/record_layer.h"
#include "data/records.h"
#include "platform/decimal.h"
#include "platform/errors.h"
#include "platform/report.h"
#include "platform/textfile.h"

namespace kdm {

inline constexpr std::size_t kPayrollLineWidth = 194;
inline constexpr const char* kStagedPayroll = "TBUPLATE.DAT";

// An amount field of a payroll line: character 1 the sign ("-" negative;
// "0", "+" or a blank otherwise), characters 2-15 fourteen digits of which
// the last two are the decimals. Nothing when the field is not exactly so.
// (The submission file's encodeAmount with the sign '0' writes one.)
std::optional<Decimal> payrollAmount(std::string_view field);

// The numeric value of a year, month or day field: its digits (blanks
// around them allowed); anything else is 0.
int fieldNumber(std::string_view field);
// `text` when it is digits only, else `width` zeros: how identity numbers
// of the obligor are compared.
std::string digitsOrZeros(std::string_view text, std::size_t width);
// The payment type the lines must carry: the numeric value of `vrsUpl` as
// two digits ("1" and "01" select "01"; an unchosen "0" selects "00").
std::string linePaymentType(std::string_view vrsUpl);

// Cuts one raw line (CP1250 bytes, no line end) into the 21 fields, each
// UTF-8 and exactly its width. Reuses the strings of `line`.
void decodeLine(std::string_view raw, TBUPLATE& line);

// The staged copy, read once from its start.
class PayrollReader {
 public:
  Error open(const std::string& path);
  // The next line; false at the end or on a read error (then error()).
  bool next(TBUPLATE& line);
  const Error& error() const { return file_.error(); }
  std::int64_t lineNumber() const { return lines_; }
  void close() { file_.close(); }

 private:
  TextFile file_;
  std::string raw_;
  std::int64_t lines_ = 0;
};

// The values a line's obligor fields are compared with: the obligor's
// POS:MB01 (8), POS:MB02 (4) and POS:JMBG (13), each all zeros when not
// numeric.
struct PayrollObligor {
  std::string MB01 = "00000000", MB02 = "0000", JMBG = "0000000000000";
  static PayrollObligor of(const TBPOSLOD& pos);
};

// The line's own obligor fields as they are compared: characters 1-8 and
// 9-12 of OSI1:MB and OSI1:MB2, each all zeros when not numeric.
PayrollObligor lineObligor(const TBUPLATE& line);

// Which lines a run takes: every test must hold, in this order.
struct PayrollSelection {
  PayrollObligor obligor;
  int year = 0, month = 0;
  int dayFrom = 0, dayTo = 0;
  std::string type = "00";  // linePaymentType of GLO.VrsUpl

  bool selects(const TBUPLATE& line) const;
};

// Copies `path` (trailing blanks removed) over TBUPLATE.DAT in the data
// directory. Reports "Greška kod preuzimanja podataka " + the path and the
// field the cursor goes to when the copy fails; false then.
bool stagePayrollFile(DataStore& store, const std::string& path, Reporter& out);

// Opens the staged copy for reading; reports "Greška. Open TBUPLATE " and
// the system's text when it cannot be opened.
bool openStagedPayroll(DataStore& store, PayrollReader& reader, Reporter& out);

// Reads the chosen obligor by POS:KEYREDBROJ; reports "Greška " + the
// error number when there is none.
bool readImportObligor(DataStore& store, std::int16_t firma, TBPOSLOD& pos, Reporter& out);

}  // namespace kdm
