#include "data/record.h"

#include <charconv>

#include "platform/cp1250.h"
#include "platform/text.h"

namespace kdm {

Record::Record(const LabelDef& def) : def_(&def), texts_(def.fields.size()), nums_(def.fields.size(), 0) {}

void Record::clear() {
  for (auto& t : texts_) t.clear();
  for (auto& n : nums_) n = 0;
  rowid = 0;
}

bool Record::isEmpty(int i) const {
  return def_->fields[i].isText() ? isBlank(texts_[i]) : nums_[i] == 0;
}

std::string Record::format(int i) const {
  const FieldDef& f = def_->fields[i];
  switch (f.type) {
    case FieldType::String:
    case FieldType::Memo: return std::string(trimRight(texts_[i]));
    case FieldType::Short:
    case FieldType::Long: return std::to_string(nums_[i]);
    case FieldType::Date: return date(i).iso();
    case FieldType::Decimal: return decimal(i).toString(f.scale);
  }
  return {};
}

static std::string fieldName(const LabelDef& def, int i) { return def.prefix + ":" + def.fields[i].name; }

Error checkFits(const Record& rec, int i) {
  const LabelDef& def = rec.def();
  const FieldDef& f = def.fields[i];
  switch (f.type) {
    case FieldType::String:
    case FieldType::Memo: {
      std::string_view t = trimRight(rec.text(i));
      if (!isCp1250Text(t))
        return makeError(ErrorCode::NotEncodable,
                         fieldName(def, i) + ": " + errorText(ErrorCode::NotEncodable));
      if (charCount(t) > static_cast<std::size_t>(f.width))
        return makeError(ErrorCode::TextTooLong, fieldName(def, i) + ": text longer than " +
                                                     std::to_string(f.width) + " characters");
      return ok();
    }
    case FieldType::Short:
      if (rec.integer(i) < -32768 || rec.integer(i) > 32767)
        return makeError(ErrorCode::InvalidValue, fieldName(def, i) + ": not a number from -32768 to 32767");
      return ok();
    case FieldType::Long:
      if (rec.integer(i) < INT32_MIN || rec.integer(i) > INT32_MAX)
        return makeError(ErrorCode::InvalidValue, fieldName(def, i) + ": number out of range");
      return ok();
    case FieldType::Date: return ok();
    case FieldType::Decimal:
      if (!rec.decimal(i).fits(f.width, f.scale))
        return makeError(ErrorCode::InvalidValue, fieldName(def, i) + ": does not fit " +
                                                      std::to_string(f.width - f.scale) + " digits with " +
                                                      std::to_string(f.scale) + " decimals");
      return ok();
  }
  return ok();
}

// The value of a validated field as a number; a text that is not a whole
// number counts as 0.
static std::int64_t numericValue(const Record& r, int field) {
  if (!r.def().fields[field].isText()) return r.integer(field);
  std::string_view t = trim(r.text(field));
  if (!isDigits(t) || t.size() > 12) return 0;
  std::int64_t v = 0;
  for (char c : t) v = v * 10 + (c - '0');
  return v;
}

Error validateRecord(const LabelDef& def, const Record& rec) {
  for (const Validation& v : def.validations) {
    if (v.allows(numericValue(rec, v.field))) continue;
    const FieldDef& f = def.fields[v.field];
    auto bound = [&](std::int64_t value) {
      return f.type == FieldType::Decimal ? Decimal::fromUnits(value).toString(f.scale) : std::to_string(value);
    };
    return makeError(ErrorCode::OutOfRange, v.title + " must be between " + bound(v.min) + " and " + bound(v.max));
  }
  return ok();
}

Error Record::parse(int i, std::string_view text) {
  const FieldDef& f = def_->fields[i];
  auto invalid = [&](const char* what) {
    return makeError(ErrorCode::InvalidValue, fieldName(*def_, i) + ": " + quoteInput(text) + " is not " + what);
  };
  switch (f.type) {
    case FieldType::String:
    case FieldType::Memo:
      texts_[i] = std::string(trimRight(text));
      break;
    case FieldType::Short:
    case FieldType::Long: {
      std::string_view t = trim(text);
      if (t.empty()) {
        nums_[i] = 0;
        break;
      }
      if (t.front() == '+') t.remove_prefix(1);
      std::int64_t v = 0;
      auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
      if (ec != std::errc() || end != t.data() + t.size()) return invalid("a whole number");
      nums_[i] = v;
      break;
    }
    case FieldType::Date: {
      std::string_view t = trim(text);
      if (t.empty()) {
        nums_[i] = 0;
        break;
      }
      auto d = Date::parseIso(t);
      if (!d) return invalid("a date YYYY-MM-DD");
      nums_[i] = d->dayNumber();
      break;
    }
    case FieldType::Decimal: {
      std::string_view t = trim(text);
      if (t.empty()) {
        nums_[i] = 0;
        break;
      }
      auto d = Decimal::parse(t, f.scale);
      if (!d) return invalid(f.scale ? "a number with at most its decimals" : "a whole number");
      nums_[i] = d->units();
      break;
    }
  }
  return checkFits(*this, i);
}

}  // namespace kdm
