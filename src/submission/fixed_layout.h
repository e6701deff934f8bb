// Fixed-width line layouts and the encoders of their field kinds.
//
// A FixedLayout names the fields of one kind of line with their 1-based
// position, width and kind. The same declaration cuts fields out of a line
// that was read and builds a line to be written, so a reader, a writer, the
// formal check and a field-by-field review can never disagree about where
// a field lies. Positions and widths count characters (a line held as
// UTF-8 inside the program, CP1250 on disk, one byte per character).
//
// The kinds: N numeric (right-aligned, zero-filled), A alphanumeric
// (left-aligned, blank-filled, cut), Date (DDMMYYYY), Signed amount (a sign
// character and 14 digits of hundredths) and Blank (reserved, written as
// blanks). A value that does not fit its field is cut, never wrapped; a
// number too large for its field is written as '#' characters, so the
// formal check sees it instead of a silently wrong number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/date.h"
#include "platform/decimal.h"

namespace kdm {

enum class FieldKind { Numeric, Alpha, Date, Amount, Blank };

struct FixedField {
  std::string name;       // "KD3MBOO"
  std::size_t position;   // first character, from 1
  std::size_t width;      // characters
  FieldKind kind;

  std::size_t end() const { return position + width - 1; }  // last character
};

class FixedLayout {
 public:
  // The fields must follow one another from position 1 without gap or
  // overlap; a declaration that does not throws std::logic_error.
  FixedLayout(std::string name, std::vector<FixedField> fields);

  const std::string& name() const { return name_; }
  const std::vector<FixedField>& fields() const { return fields_; }
  std::size_t width() const { return width_; }
  // nullptr when the layout has no such field.
  const FixedField* field(std::string_view name) const;

  // The field's characters of a UTF-8 line, blank-padded when the line is
  // shorter; empty when the layout has no such field.
  std::string cut(std::string_view line, std::string_view fieldName) const;
  static std::string cut(std::string_view line, const FixedField& f);

 private:
  std::string name_;
  std::vector<FixedField> fields_;
  std::size_t width_ = 0;
};

// Builds one line of a layout field by field; fields never set are blank
// (Blank fields always are). Each setter encodes by the field's kind.
class LineBuilder {
 public:
  explicit LineBuilder(const FixedLayout& layout);

  // N: the text right-aligned and zero-filled; A: left-aligned and
  // blank-filled; any other kind: blank-filled. Cut to the width.
  LineBuilder& set(std::string_view field, std::string_view text);
  LineBuilder& set(std::string_view field, const char* text) { return set(field, std::string_view(text)); }
  LineBuilder& set(std::string_view field, const std::string& text) { return set(field, std::string_view(text)); }
  // A whole number zero-filled to the width.
  LineBuilder& set(std::string_view field, std::int64_t number);
  LineBuilder& set(std::string_view field, int number) { return set(field, static_cast<std::int64_t>(number)); }
  LineBuilder& set(std::string_view field, Date date);
  // Sign-style character set by the caller; see encodeAmount.
  LineBuilder& set(std::string_view field, Decimal amount, char signOfZeroOrMore);

  // The line, exactly layout().width() characters.
  std::string str() const;
  const FixedLayout& layout() const { return layout_; }

 private:
  std::size_t index(std::string_view field) const;  // throws std::logic_error for an unknown name

  const FixedLayout& layout_;
  std::vector<std::string> values_;
};

// N: a number zero-filled to `width` digits; a negative number or one of
// more digits than `width` gives `width` '#' characters.
std::string encodeNumeric(std::int64_t value, std::size_t width);
// N from text: blanks around it removed, right-aligned and zero-filled;
// longer text keeps its first `width` characters. Text that is not digits
// is written as it is, for the formal check to report.
std::string encodeNumericText(std::string_view text, std::size_t width);
// A: left-aligned, blank-filled, cut to `width`.
std::string encodeAlpha(std::string_view text, std::size_t width);
// DDMMYYYY; eight blanks for no date.
std::string encodeDate(Date date);

// Sign character of an amount of zero or more: "0" from form creation,
// "+" from the take-over of a payroll file. Negative amounts carry "-".
enum class SignStyle { Zero, Plus };
char signCharacter(SignStyle style);

// 15 characters: the sign, then the absolute value rounded to hundredths
// as 14 zero-filled digits (1234.50 -> "000000000123450" or
// "+00000000123450", -0.01 -> "-00000000000001"). A value that does not
// fit (amountFits) keeps its sign and gets 14 '#' characters.
std::string encodeAmount(Decimal amount, SignStyle style);
std::string encodeAmount(Decimal amount, char signOfZeroOrMore);
// The 15 characters read as a signed number with two implied decimals: a
// sign ("-", "+", a blank for plus) or a digit, then digits only. Nothing
// when not valid.
std::optional<Decimal> decodeAmount(std::string_view text);
// DDMMYYYY; nothing when not eight digits or not a day of the calendar.
std::optional<Date> decodeDate(std::string_view text);

}  // namespace kdm
