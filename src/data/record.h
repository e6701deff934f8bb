// A record buffer of any label: the values of its fields in declaration
// order, as the catalogue declares them.
//
// Text fields hold UTF-8 text; in the keyed store they are kept without
// trailing blanks (a STRING is compared and tested for emptiness without
// them), while records cut from a fixed-width line keep the blanks of their
// width. SHORT, LONG, DATE and DECIMAL fields are held as 64-bit integers:
// the number, the day number, the count of ten-thousandths.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/catalogue.h"
#include "platform/date.h"
#include "platform/decimal.h"
#include "platform/errors.h"

namespace kdm {

class Record {
 public:
  Record() = default;
  explicit Record(const LabelDef& def);

  const LabelDef& def() const { return *def_; }
  bool valid() const { return def_ != nullptr; }
  // Blank texts, zero numbers, no date; forgets the position in the store.
  void clear();
  int size() const { return static_cast<int>(nums_.size()); }
  // Field index by name without prefix; -1 when none.
  int index(const std::string& name) const { return def_->fieldIndex(name); }

  const std::string& text(int i) const { return texts_[i]; }
  void setText(int i, std::string value) { texts_[i] = std::move(value); }
  std::int64_t integer(int i) const { return nums_[i]; }
  void setInteger(int i, std::int64_t value) { nums_[i] = value; }
  Decimal decimal(int i) const { return Decimal::fromUnits(nums_[i]); }
  void setDecimal(int i, Decimal value) { nums_[i] = value.units(); }
  Date date(int i) const { return Date::fromDayNumber(static_cast<std::int32_t>(nums_[i])); }
  void setDate(int i, Date value) { nums_[i] = value.dayNumber(); }

  // Whether the field is blank (text) or zero (number, date).
  bool isEmpty(int i) const;
  // The field as text: decimals with a point and their scale, dates
  // YYYY-MM-DD (empty for no date), texts without trailing blanks.
  std::string format(int i) const;
  // Sets the field from that text form. Refuses text longer than the field
  // or not writable in CP1250, numbers out of the type's range, decimals
  // with more digits than the field has; the error names the field.
  Error parse(int i, std::string_view text);

  // The rowid of the record in the store; 0 when it was not read from it.
  std::int64_t rowid = 0;

 private:
  const LabelDef* def_ = nullptr;
  std::vector<std::string> texts_;
  std::vector<std::int64_t> nums_;
};

// The validations of `def` (the year ranges; a view has its own): a field
// outside its range is refused with the range message naming its title.
Error validateRecord(const LabelDef& def, const Record& rec);

// Checks that a value fits its field (width, CP1250, range of the type,
// digits of a decimal); the error names the field with its prefix.
Error checkFits(const Record& rec, int i);

}  // namespace kdm
