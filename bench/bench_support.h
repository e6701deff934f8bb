// What the benchmark programs share: timing, peak memory, a quiet reporter
// and a scratch data directory.
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "data/record_layer.h"
#include "data/records.h"
#include "data/seed.h"
#include "platform/report.h"

namespace kdm::bench {

using Clock = std::chrono::steady_clock;

inline long envOr(const char* name, long fallback) {
  const char* v = std::getenv(name);
  return v ? std::atol(v) : fallback;
}

inline double since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// Peak resident memory of this process so far.
inline long peakKiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Messages to stderr (they mean something went wrong), status lines dropped.
class Quiet : public Reporter {
 public:
  void message(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  void status(const std::string&) override {}
};

inline std::string tempDir(const char* stem) {
  std::string tmpl = (std::filesystem::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
  return mkdtemp(tmpl.data());
}

// A data directory with the delivered tables and an authorised person
// entered (so forming and checking are not refused); removed at the end.
struct DataDir {
  std::string path;
  std::unique_ptr<DataStore> store;
  explicit DataDir(std::string where = tempDir("kdm-bench")) : path(std::move(where)) {
    std::filesystem::create_directories(path);
    InitResult r;
    if (initDataDirectory(path, r) || DataStore::open(path, false, store)) std::abort();
    File<APLPARAM> apl(*store);
    apl.open();
    apl.rec.RB = 1;
    apl.get("KEYRB");
    apl.rec.JMBG = "1234567890125";
    apl.put();
  }
  ~DataDir() {
    store.reset();
    std::filesystem::remove_all(path);
  }
};

}  // namespace kdm::bench
