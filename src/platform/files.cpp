#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <fcntl.h>
#include <unistd.h>

#include <vector>

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

namespace {

Error systemError(const std::string& path, int err = errno) {
  ErrorCode code = err == ENOENT    ? ErrorCode::PathNotFound
                   : err == EACCES || err == EPERM ? ErrorCode::AccessDenied
                                                   : ErrorCode::WriteError;
  return makeError(code, std::string(std::strerror(err)) + ": " + path);
}

}  // namespace

std::string temporaryNameOf(const std::string& path) { return path + ".kdmtmp"; }

Error syncFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return systemError(path);
  int rc = ::fsync(fd);
  int err = errno;
  ::close(fd);
  if (rc != 0) return systemError(path, err);
  return ok();
}

Error copyFileSynced(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (!fs::is_regular_file(from, ec))
    return makeError(ErrorCode::FileNotFound, std::string(errorText(ErrorCode::FileNotFound)) + ": " + from);
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return systemError(from);
  int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (out < 0) {
    Error e = systemError(to);
    ::close(in);
    return e;
  }
  std::vector<char> buf(1 << 20);
  Error e;
  for (;;) {
    ssize_t n = ::read(in, buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      e = makeError(ErrorCode::ReadError, std::string(std::strerror(errno)) + ": " + from);
      break;
    }
    if (n == 0) break;
    for (ssize_t done = 0; done < n && !e;) {
      ssize_t w = ::write(out, buf.data() + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) e = systemError(to);
      else done += w;
    }
    if (e) break;
  }
  if (!e && ::fsync(out) != 0) e = systemError(to);
  if (::close(out) != 0 && !e) e = systemError(to);
  ::close(in);
  if (e) ::unlink(to.c_str());
  return e;
}

Error renameSynced(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) return systemError(to);
  std::string dir = fs::path(to).parent_path().string();
  int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  return ok();
}

Error copyFileReplacing(const std::string& from, const std::string& to) {
  std::string tmp = temporaryNameOf(to);
  if (Error e = copyFileSynced(from, tmp)) return e;
  if (Error e = renameSynced(tmp, to)) {
    ::unlink(tmp.c_str());
    return e;
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
