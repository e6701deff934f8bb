#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace kdm {
namespace fs = std::filesystem;

bool fileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool isDirectory(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

Error removeFile(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
  if (ec) return makeError(ErrorCode::AccessDenied, ec.message());
  return ok();
}

Error copyFileReplacing(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (!fs::is_regular_file(from, ec))
    return makeError(ErrorCode::FileNotFound, std::string(errorText(ErrorCode::FileNotFound)) + ": " + from);
  std::string tmp = to + ".kdmtmp";
  fs::copy_file(from, tmp, fs::copy_options::overwrite_existing, ec);
  if (!ec) {
    // Flush to disk before the rename makes the file visible.
    if (std::FILE* f = std::fopen(tmp.c_str(), "rb+")) {
      ::fsync(fileno(f));
      std::fclose(f);
    }
    fs::rename(tmp, to, ec);
  }
  if (ec) {
    std::error_code ignored;
    fs::remove(tmp, ignored);
    return makeError(ErrorCode::WriteError, ec.message());
  }
  return ok();
}

std::string joinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  char last = dir.back();
  if (last == '/' || last == '\\') return dir + name;
  return dir + "/" + name;
}

}  // namespace kdm
