// Small helpers the register's checks share: how an identity number that
// was not given looks, and how a refusal is reported.
#pragma once

#include <string>
#include <string_view>

#include "platform/errors.h"
#include "platform/report.h"
#include "platform/text.h"

namespace kdm::reg {

inline constexpr std::string_view kNoMb = "00000000";
inline constexpr std::string_view kNoMb02 = "0000";
inline constexpr std::string_view kNoMbg = "0000000000000";

// Characters of a field as the store keeps it (trailing blanks do not count).
inline std::size_t width(std::string_view text) { return charCount(trimRight(text)); }

// An MB or MBG that was not given: blank, or its all-zeros stand-in.
inline bool noMb(std::string_view mb) { return isBlank(mb) || sameText(mb, kNoMb); }
inline bool noMbg(std::string_view mbg) { return isBlank(mbg) || sameText(mbg, kNoMbg); }

// Company numbers of natural persons' businesses start with 8 or 9.
inline bool startsWith8or9(std::string_view mb) { return !mb.empty() && (mb[0] == '8' || mb[0] == '9'); }

// A refused check: the beep (when the check has one), the message, then
// the field the cursor goes back to. Always false, so checks can return it.
inline bool refuse(Reporter& out, const std::string& field, const std::string& text, bool beep = false) {
  if (beep) out.beep();
  out.message(text);
  out.focus(field);
  return false;
}

// "what: the record layer's text".
inline std::string failure(const std::string& what, const Error& e) { return what + ": " + e.text; }

}  // namespace kdm::reg
