#include "platform/cp1250.h"

#include <array>

#include "platform/text.h"

namespace kdm {
namespace {

constexpr std::array<char16_t, 128> kUpper = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

}  // namespace

std::string cp1250ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char c : bytes) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x80)
      out += c;
    else
      appendUtf8(out, kUpper[b - 0x80]);
  }
  return out;
}

int cp1250Byte(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  for (int i = 0; i < 128; ++i)
    if (kUpper[i] == cp) return 0x80 + i;
  return -1;
}

bool utf8ToCp1250(std::string_view utf8, std::string& out) {
  out.clear();
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    // Runs of ASCII are copied whole: records are mostly digits and blanks.
    std::size_t run = pos;
    while (run < utf8.size() && static_cast<unsigned char>(utf8[run]) < 0x80) ++run;
    out.append(utf8.data() + pos, run - pos);
    if (run == utf8.size()) break;
    pos = run;
    char32_t cp = decodeUtf8(utf8, pos);
    if (pos == run + 1) return false;  // malformed sequence
    int b = cp1250Byte(cp);
    if (b < 0) return false;
    out += static_cast<char>(b);
  }
  return true;
}

bool isCp1250Text(std::string_view utf8) {
  for (std::size_t pos = 0; pos < utf8.size();) {
    if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
      ++pos;
      continue;
    }
    std::size_t before = pos;
    char32_t cp = decodeUtf8(utf8, pos);
    if (pos == before + 1 || cp1250Byte(cp) < 0) return false;
  }
  return true;
}

}  // namespace kdm
