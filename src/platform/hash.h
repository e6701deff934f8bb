// The hash of a submission file and the control number made of it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kdm {

// SHA-1 of the file's bytes as 40 upper-case hexadecimal digits. Nothing,
// with the reason in `error`, when the file cannot be read or is not a
// regular file: callers report that instead of storing a control number
// made of nothing.
std::optional<std::string> doSHAOnFile(const std::string& path, std::string* error = nullptr);

// The hash as four groups of ten characters joined by "-"; a shorter hash
// gives shorter groups, and the three separators are always there.
std::string controlNumber(std::string_view hash);

}  // namespace kdm
