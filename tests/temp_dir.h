// A temporary data directory per test, removed afterwards.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "data/record_layer.h"

namespace kdm::test {

class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kdm-test-XXXXXX").string();
    path_ = mkdtemp(tmpl.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A data directory with every table and nothing in it.
struct EmptyStore {
  TempDir dir;
  std::unique_ptr<DataStore> store;
  EmptyStore() { DataStore::open(dir.path(), true, store); }
};

}  // namespace kdm::test
