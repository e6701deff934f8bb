// Small file-system helpers over std::filesystem with the program's errors.
#pragma once

#include <string>

#include "platform/errors.h"

namespace kdm {

bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);
// Removes the file; no error when there is none.
Error removeFile(const std::string& path);
// Copies `from` over `to`. The copy is written to a temporary name beside
// `to` and renamed into place, so a failure never leaves a truncated file
// under the real name.
Error copyFileReplacing(const std::string& from, const std::string& to);
// `dir` joined with `name`; `dir` may or may not end with a separator.
std::string joinPath(const std::string& dir, const std::string& name);

}  // namespace kdm
