#include "platform/file_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/files.h"

namespace kdm {
namespace {

// FNV-1a, kept below 2^40 so every offset is a valid file position.
off_t offsetOf(const std::string& name) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : name) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return static_cast<off_t>(h & ((std::uint64_t(1) << 40) - 1));
}

bool setLock(int fd, const std::string& name, short type) {
  struct flock fl;
  std::memset(&fl, 0, sizeof fl);
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = offsetOf(name);
  fl.l_len = 1;
  return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

}  // namespace

DirectoryLocks::~DirectoryLocks() {
  if (fd_ >= 0) ::close(fd_);
}

Error DirectoryLocks::openLockFile() {
  if (fd_ >= 0) return ok();
  std::string path = joinPath(dir_, kFileName);
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0) return makeError(ErrorCode::AccessDenied, std::string(std::strerror(errno)) + ": " + path);
  return ok();
}

Error DirectoryLocks::lock(const std::string& name) {
  auto it = held_.find(name);
  if (it != held_.end()) {
    ++it->second;
    return ok();
  }
  if (Error e = openLockFile()) return e;
  if (!setLock(fd_, name, F_WRLCK)) {
    if (errno == EAGAIN || errno == EACCES)
      return makeError(ErrorCode::FileLocked,
                       std::string(errorText(ErrorCode::FileLocked)) + " or program: " + name);
    return makeError(ErrorCode::AccessDenied, std::string(std::strerror(errno)) + ": " + joinPath(dir_, kFileName));
  }
  held_[name] = 1;
  return ok();
}

void DirectoryLocks::unlock(const std::string& name) {
  auto it = held_.find(name);
  if (it == held_.end()) return;
  if (--it->second > 0) return;
  held_.erase(it);
  setLock(fd_, name, F_UNLCK);
}

}  // namespace kdm
