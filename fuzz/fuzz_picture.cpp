// Any bytes as a picture text (the first line) and as what a user types
// (the rest): parsing, formatting and reading back must never crash, every
// shown value must have the picture's width, and a value read from typed
// text must show without '#' and read back as itself.
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>

#include "data/picture.h"
#include "platform/text.h"

namespace {

using namespace kdm;

void require(bool condition) {
  if (!condition) __builtin_trap();
}

void requireWidth(const Picture& p, const std::string& shown) {
  require(charCount(shown) == static_cast<std::size_t>(p.width));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::size_t newline = bytes.find('\n');
  std::string_view pictureText = bytes.substr(0, newline);
  std::string_view typed = newline == std::string_view::npos ? std::string_view() : bytes.substr(newline + 1);

  std::optional<Picture> parsed = parsePicture(pictureText);
  if (!parsed) return 0;
  const Picture& p = *parsed;
  require(p.width >= 1 && p.width <= kMaxPictureWidth);

  // Values drawn from the typed bytes, whatever the picture's kind.
  std::int64_t raw = 0;
  if (!typed.empty()) std::memcpy(&raw, typed.data(), std::min(typed.size(), sizeof raw));
  requireWidth(p, format(p, Decimal::fromUnits(raw)));
  requireWidth(p, format(p, raw));
  requireWidth(p, formatUnits(p, static_cast<__int128>(raw) * raw));
  requireWidth(p, format(p, Date::fromDayNumber(static_cast<std::int32_t>(raw))));
  requireWidth(p, formatTime(p, static_cast<std::int32_t>(raw)));
  std::string text = format(p, typed);
  if (isValidUtf8(typed)) requireWidth(p, text);

  if (std::optional<Decimal> v = parseNumber(p, typed)) {
    require(p.kind == Picture::Kind::Number);
    require(!v->isNegative() || p.sign);
    std::string shown = format(p, *v);
    requireWidth(p, shown);
    require(shown.find('#') == std::string::npos);
    require(parseNumber(p, shown) == *v);
  }
  if (std::optional<Date> d = parseDate(p, typed)) {
    std::string shown = format(p, *d);
    requireWidth(p, shown);
    require(parseDate(p, shown) == *d);
  }
  if (std::optional<std::int32_t> t = parseTime(p, typed)) {
    std::string shown = formatTime(p, *t);
    require(shown.find('#') == std::string::npos);
    require(parseTime(p, shown) == *t);
  }
  return 0;
}
