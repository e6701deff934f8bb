// Files the user names for reading must be regular files: a FIFO blocks
// the reader until someone writes to it, a device such as /dev/zero never
// ends. Every command and process that reads a named file asks here first.
#pragma once

#include <string>

#include "platform/errors.h"

namespace kdm {

// ok() for a regular file (a link to one included). Otherwise FileNotFound
// ("File not found: " + the path, or the path and what it is instead: a
// directory, a FIFO, a device, a socket), or AccessDenied when the path
// cannot be looked at.
Error requireRegularFile(const std::string& path);

}  // namespace kdm
