#include "platform/regular_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace kdm {

Error requireRegularFile(const std::string& path) {
  struct stat st {};
  // stat never opens the file, so it cannot block on a FIFO.
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == EACCES) return makeError(ErrorCode::AccessDenied, path + ": " + std::strerror(errno));
    return makeError(ErrorCode::FileNotFound, std::string(errorText(ErrorCode::FileNotFound)) + ": " + path);
  }
  if (S_ISREG(st.st_mode)) return ok();
  const char* what = S_ISDIR(st.st_mode)                          ? "a directory"
                     : S_ISFIFO(st.st_mode)                       ? "a FIFO"
                     : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? "a device"
                     : S_ISSOCK(st.st_mode)                       ? "a socket"
                                                                  : "of another kind";
  return makeError(ErrorCode::FileNotFound, path + " is " + what + ", not a regular file");
}

}  // namespace kdm
