#include "platform/text.h"

#include <algorithm>
#include <cstdint>

namespace kdm {

char32_t decodeUtf8(std::string_view s, std::size_t& pos) {
  auto b0 = static_cast<unsigned char>(s[pos]);
  if (b0 < 0x80) {
    ++pos;
    return b0;
  }
  int len = (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
  if (len == 0 || pos + len > s.size()) {
    ++pos;
    return b0;
  }
  char32_t cp = b0 & (0x7F >> len);
  for (int i = 1; i < len; ++i) {
    auto b = static_cast<unsigned char>(s[pos + i]);
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return b0;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return b0;
  }
  pos += len;
  return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool isValidUtf8(std::string_view s) {
  std::size_t pos = 0;
  while (pos < s.size()) {
    auto b0 = static_cast<unsigned char>(s[pos]);
    std::size_t before = pos;
    char32_t cp = decodeUtf8(s, pos);
    if (b0 >= 0x80 && pos == before + 1 && cp == b0) return false;
  }
  return true;
}

std::size_t charCount(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t pos = 0; pos < s.size(); ++n) decodeUtf8(s, pos);
  return n;
}

static std::size_t byteOffset(std::string_view s, std::size_t chars) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < chars && pos < s.size(); ++n) decodeUtf8(s, pos);
  return pos;
}

std::string_view leftChars(std::string_view s, std::size_t count) {
  return s.substr(0, byteOffset(s, count));
}

std::string_view midChars(std::string_view s, std::size_t from, std::size_t count) {
  std::size_t start = byteOffset(s, from);
  std::string_view rest = s.substr(start);
  return rest.substr(0, byteOffset(rest, count));
}

std::string fitWidth(std::string_view s, std::size_t width) {
  return padRight(leftChars(s, width), width);
}

std::string padRight(std::string_view s, std::size_t width) {
  std::string out(s);
  std::size_t n = charCount(s);
  if (n < width) out.append(width - n, ' ');
  return out;
}

std::string padLeft(std::string_view s, std::size_t width, char fill) {
  std::size_t n = charCount(s);
  std::string out;
  if (n < width) out.assign(width - n, fill);
  out += s;
  return out;
}

std::string_view trimRight(std::string_view s) {
  std::size_t end = s.size();
  while (end > 0 && s[end - 1] == ' ') --end;
  return s.substr(0, end);
}

std::string_view trim(std::string_view s) {
  s = trimRight(s);
  std::size_t start = 0;
  while (start < s.size() && s[start] == ' ') ++start;
  return s.substr(start);
}

bool sameText(std::string_view a, std::string_view b) { return trimRight(a) == trimRight(b); }

bool isBlank(std::string_view s) { return trimRight(s).empty(); }

bool isDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string quoteInput(std::string_view value) {
  std::string out = "\"";
  std::size_t pos = 0, count = 0;
  while (pos < value.size() && count < kQuotedChars) {
    char32_t cp = decodeUtf8(value, pos);
    bool control = cp < 0x20 || (cp >= 0x7F && cp < 0xA0);
    appendUtf8(out, control ? U'?' : cp);
    ++count;
  }
  if (pos < value.size()) out += "...";
  return out + "\"";
}

char32_t foldCase(char32_t cp) {
  if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 0x20 : cp;
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;
  if (cp >= 0x100 && cp <= 0x137) return cp | 1;
  if (cp >= 0x139 && cp <= 0x148) return (cp & 1) ? cp + 1 : cp;
  if (cp >= 0x14A && cp <= 0x177) return cp | 1;
  if (cp == 0x178) return 0xFF;
  if (cp >= 0x179 && cp <= 0x17E) return (cp & 1) ? cp + 1 : cp;
  return cp;
}

static char32_t toUpperCp(char32_t cp) {
  if (cp < 0x80) return (cp >= 'a' && cp <= 'z') ? cp - 0x20 : cp;
  if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;
  if (cp == 0xFF) return 0x178;
  if (cp >= 0x100 && cp <= 0x137) return cp & ~char32_t(1);
  if (cp >= 0x139 && cp <= 0x148) return (cp & 1) ? cp : cp - 1;
  if (cp >= 0x14A && cp <= 0x177) return cp & ~char32_t(1);
  if (cp >= 0x179 && cp <= 0x17E) return (cp & 1) ? cp : cp - 1;
  return cp;
}

std::string upper(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t pos = 0; pos < s.size();) appendUtf8(out, toUpperCp(decodeUtf8(s, pos)));
  return out;
}

// Sort weight of one character: letters spaced by 8 so that the Croatian
// letters fit right after their base letter; other accented letters sort
// after all of ASCII, by their own (case-folded) value.
static std::uint32_t weight(char32_t cp) {
  cp = foldCase(cp);
  if (cp < 0x80) return cp * 8;
  switch (cp) {
    case 0x10D: return 'c' * 8 + 1;  // č
    case 0x107: return 'c' * 8 + 2;  // ć
    case 0x111: return 'd' * 8 + 1;  // đ
    case 0x161: return 's' * 8 + 1;  // š
    case 0x17E: return 'z' * 8 + 1;  // ž
    default: return 0x1000 + cp;
  }
}

int collate(std::string_view a, std::string_view b) {
  a = trimRight(a);
  b = trimRight(b);
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    auto ca = static_cast<unsigned char>(a[i]);
    auto cb = static_cast<unsigned char>(b[j]);
    if (ca < 0x80 && cb < 0x80) {
      // Plain ASCII on both sides: the common case, no decoding.
      int la = (ca >= 'A' && ca <= 'Z') ? ca + 0x20 : ca;
      int lb = (cb >= 'A' && cb <= 'Z') ? cb + 0x20 : cb;
      if (la != lb) return la < lb ? -1 : 1;
      ++i;
      ++j;
      continue;
    }
    std::uint32_t wa = weight(decodeUtf8(a, i));
    std::uint32_t wb = weight(decodeUtf8(b, j));
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace kdm
