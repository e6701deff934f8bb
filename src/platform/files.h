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
// `to`, synced and renamed into place, so a failure never leaves a
// truncated file under the real name and the previous file stays until
// its replacement is complete.
Error copyFileReplacing(const std::string& from, const std::string& to);
// The temporary name beside `path` that replacements are written under.
std::string temporaryNameOf(const std::string& path);
// Copies `from` to `to` (replacing it) and syncs the copy to the disk.
// Only regular files are copied.
Error copyFileSynced(const std::string& from, const std::string& to);
// Syncs the file at `path` to the disk.
Error syncFile(const std::string& path);
// Renames `from` to `to` (replacing it) and syncs the directory, so the
// new name survives a power cut.
Error renameSynced(const std::string& from, const std::string& to);
// `dir` joined with `name`; `dir` may or may not end with a separator.
std::string joinPath(const std::string& dir, const std::string& name);

}  // namespace kdm
