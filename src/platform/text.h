// Text inside the program: UTF-8 std::string.
//
// Fixed widths count characters, not bytes, so the helpers here walk UTF-8.
// Fields of the keyed store are compared without their trailing blanks and
// without regard to letter case, the Croatian letters included; the same
// comparison orders keys, with Č and Ć after C, Đ after D, Š after S and Ž
// after Z as a Croatian reader expects. Invalid UTF-8 never crashes a
// helper: a stray byte counts as one character of its own value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kdm {

// Decodes the character at `pos`, advancing `pos`; a malformed sequence
// yields its first byte's value and advances by one.
char32_t decodeUtf8(std::string_view text, std::size_t& pos);
void appendUtf8(std::string& out, char32_t cp);
bool isValidUtf8(std::string_view text);

std::size_t charCount(std::string_view text);
// The first `count` characters (all of them when there are fewer).
std::string_view leftChars(std::string_view text, std::size_t count);
// Characters [from, from+count) counted from 0.
std::string_view midChars(std::string_view text, std::size_t from, std::size_t count);
// Blank-padded or cut to exactly `width` characters.
std::string fitWidth(std::string_view text, std::size_t width);
std::string padRight(std::string_view text, std::size_t width);
std::string padLeft(std::string_view text, std::size_t width, char fill = ' ');

std::string_view trimRight(std::string_view text);
std::string_view trim(std::string_view text);
// Equal after trailing blanks are removed (exact case).
bool sameText(std::string_view a, std::string_view b);
bool isBlank(std::string_view text);
// Only the digits 0-9, at least one.
bool isDigits(std::string_view text);

// A value the user gave, as a message quotes it: in double quotes, at most
// kQuotedChars characters of it (then "..." inside the quotes), control
// characters shown as '?', so that no input floods or drives the terminal.
inline constexpr std::size_t kQuotedChars = 80;
std::string quoteInput(std::string_view value);

char32_t foldCase(char32_t cp);
std::string upper(std::string_view text);
// Key order: case-insensitive, Croatian letters after their base letter,
// trailing blanks ignored. Returns <0, 0 or >0.
int collate(std::string_view a, std::string_view b);

}  // namespace kdm
