// Locks that keep two runs from working on the same files of one data
// directory at once, across processes and across the connections of one
// process (the worker threads of the desktop program each have their own).
//
// Every data directory has one lock file, kdm.lock. A name (a file's disk
// name such as "TBVALTA.TXT") locks one byte of it, at an offset hashed
// from the name, with an open-file-description lock: such a lock belongs
// to the open lock file, not to the process, so two DirectoryLocks in one
// process exclude each other exactly as two processes do, and the system
// drops every lock of a process that ends, however it ends. Locks are
// exclusive and never wait: a name held elsewhere is refused at once.
// Within one DirectoryLocks a name is counted, so nested holders of the
// same name share the lock and the last one releases it.
#pragma once

#include <map>
#include <string>

#include "platform/errors.h"

namespace kdm {

class DirectoryLocks {
 public:
  static constexpr const char* kFileName = "kdm.lock";

  explicit DirectoryLocks(std::string dir) : dir_(std::move(dir)) {}
  DirectoryLocks(const DirectoryLocks&) = delete;
  DirectoryLocks& operator=(const DirectoryLocks&) = delete;
  ~DirectoryLocks();

  // FileLocked, naming `name`, when another holder has it.
  Error lock(const std::string& name);
  void unlock(const std::string& name);

 private:
  Error openLockFile();

  std::string dir_;
  int fd_ = -1;
  std::map<std::string, int> held_;
};

}  // namespace kdm
