// Code page 1250, the encoding of every text file of the program on disk.
//
// The conversion is a table of the 128 upper byte values. The five bytes
// that the code page leaves undefined (0x81, 0x83, 0x88, 0x90, 0x98) map to
// the control characters of the same value, so every one of the 256 bytes
// survives a trip to UTF-8 and back unchanged.
#pragma once

#include <string>
#include <string_view>

namespace kdm {

std::string cp1250ToUtf8(std::string_view bytes);
// False (and `out` unspecified) when the text holds a character that the
// code page cannot write, or is not valid UTF-8.
bool utf8ToCp1250(std::string_view utf8, std::string& out);
bool isCp1250Text(std::string_view utf8);
// The byte for one character, or -1 when it has none.
int cp1250Byte(char32_t cp);

}  // namespace kdm
