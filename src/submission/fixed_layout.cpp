#include "submission/fixed_layout.h"

#include <algorithm>
#include <stdexcept>

#include "platform/amounts.h"
#include "platform/text.h"

namespace kdm {
namespace {

bool isAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// fitWidth without walking UTF-8 when there is none: a form of 100,000
// rows builds a few million fields.
std::string fit(std::string_view s, std::size_t width) {
  if (!isAscii(s)) return fitWidth(s, width);
  std::string out(s.substr(0, width));
  out.resize(width, ' ');
  return out;
}

}  // namespace

FixedLayout::FixedLayout(std::string name, std::vector<FixedField> fields)
    : name_(std::move(name)), fields_(std::move(fields)) {
  std::size_t next = 1;
  for (const FixedField& f : fields_) {
    if (f.position != next || f.width == 0)
      throw std::logic_error("layout " + name_ + ": field " + f.name + " does not follow the previous one");
    next += f.width;
  }
  width_ = next - 1;
}

const FixedField* FixedLayout::field(std::string_view name) const {
  for (const FixedField& f : fields_)
    if (f.name == name) return &f;
  return nullptr;
}

std::string FixedLayout::cut(std::string_view line, std::string_view fieldName) const {
  const FixedField* f = field(fieldName);
  return f ? cut(line, *f) : std::string();
}

std::string FixedLayout::cut(std::string_view line, const FixedField& f) {
  if (isAscii(line)) return fit(line.substr(std::min(line.size(), f.position - 1)), f.width);
  return padRight(midChars(line, f.position - 1, f.width), f.width);
}

LineBuilder::LineBuilder(const FixedLayout& layout) : layout_(layout), values_(layout.fields().size()) {}

std::size_t LineBuilder::index(std::string_view field) const {
  const auto& fields = layout_.fields();
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name == field) return i;
  throw std::logic_error("layout " + layout_.name() + " has no field " + std::string(field));
}

LineBuilder& LineBuilder::set(std::string_view field, std::string_view text) {
  std::size_t i = index(field);
  const FixedField& f = layout_.fields()[i];
  values_[i] = f.kind == FieldKind::Numeric ? encodeNumericText(text, f.width) : encodeAlpha(text, f.width);
  return *this;
}

LineBuilder& LineBuilder::set(std::string_view field, std::int64_t number) {
  std::size_t i = index(field);
  values_[i] = encodeNumeric(number, layout_.fields()[i].width);
  return *this;
}

LineBuilder& LineBuilder::set(std::string_view field, Date date) {
  std::size_t i = index(field);
  values_[i] = encodeAlpha(encodeDate(date), layout_.fields()[i].width);
  return *this;
}

LineBuilder& LineBuilder::set(std::string_view field, Decimal amount, char signOfZeroOrMore) {
  std::size_t i = index(field);
  values_[i] = encodeAlpha(encodeAmount(amount, signOfZeroOrMore), layout_.fields()[i].width);
  return *this;
}

std::string LineBuilder::str() const {
  std::string line;
  line.reserve(layout_.width() + 16);
  const auto& fields = layout_.fields();
  // Every value set is exactly its field's width already.
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].kind == FieldKind::Blank || values_[i].empty())
      line.append(fields[i].width, ' ');
    else
      line += values_[i];
  }
  return line;
}

std::string encodeNumeric(std::int64_t value, std::size_t width) {
  std::string digits = value < 0 ? std::string() : std::to_string(value);
  if (digits.empty() || digits.size() > width) return std::string(width, '#');
  return padLeft(digits, width, '0');
}

std::string encodeNumericText(std::string_view text, std::size_t width) {
  text = trim(text);
  if (!isAscii(text)) return padLeft(leftChars(text, width), width, '0');
  text = text.substr(0, width);
  std::string out(width - text.size(), '0');
  out += text;
  return out;
}

std::string encodeAlpha(std::string_view text, std::size_t width) { return fit(text, width); }

std::string encodeDate(Date date) {
  if (!date.isSet()) return std::string(8, ' ');
  return encodeNumeric(date.day(), 2) + encodeNumeric(date.month(), 2) + encodeNumeric(date.year(), 4);
}

char signCharacter(SignStyle style) { return style == SignStyle::Plus ? '+' : '0'; }

std::string encodeAmount(Decimal amount, SignStyle style) { return encodeAmount(amount, signCharacter(style)); }

std::string encodeAmount(Decimal amount, char signOfZeroOrMore) {
  std::int64_t hundredths = amount.rounded(2).units() / (Decimal::kUnit / 100);
  std::string out(1, hundredths < 0 ? '-' : signOfZeroOrMore);
  if (!amountFits(amount)) return out.append(kAmountDigits, '#');
  std::uint64_t magnitude = hundredths < 0 ? 0 - static_cast<std::uint64_t>(hundredths) : static_cast<std::uint64_t>(hundredths);
  return out + padLeft(std::to_string(magnitude), kAmountDigits, '0');
}

std::optional<Decimal> decodeAmount(std::string_view text) {
  if (text.size() != 15) return std::nullopt;
  bool negative = text[0] == '-';
  // A blank sign is a plus, as in the payroll files the amounts come from.
  std::string_view digits = (text[0] == '-' || text[0] == '+' || text[0] == ' ') ? text.substr(1) : text;
  if (!isDigits(digits)) return std::nullopt;
  std::int64_t hundredths = 0;
  for (char c : digits) hundredths = hundredths * 10 + (c - '0');  // at most 15 digits: no overflow
  std::int64_t units = hundredths * (Decimal::kUnit / 100);
  return Decimal::fromUnits(negative ? -units : units);
}

std::optional<Date> decodeDate(std::string_view text) {
  if (text.size() != 8 || !isDigits(text)) return std::nullopt;
  auto num = [&](std::size_t from, std::size_t len) {
    int v = 0;
    for (std::size_t i = from; i < from + len; ++i) v = v * 10 + (text[i] - '0');
    return v;
  };
  return Date::fromYmd(num(4, 4), num(2, 2), num(0, 2));
}

}  // namespace kdm
