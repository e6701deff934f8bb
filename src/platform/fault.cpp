#include "platform/fault.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace kdm {
namespace {

struct FaultSettings {
  bool any = false;
  std::string point, action, trace, pauseFile;
};

const FaultSettings& settings() {
  static const FaultSettings s = [] {
    FaultSettings f;
    const char* fault = std::getenv("KDM_FAULT");
    const char* trace = std::getenv("KDM_FAULT_TRACE");
    const char* pause = std::getenv("KDM_FAULT_PAUSE");
    if (fault && *fault) {
      std::string v = fault;
      auto colon = v.find(':');
      f.point = v.substr(0, colon);
      f.action = colon == std::string::npos ? "" : v.substr(colon + 1);
    }
    if (trace) f.trace = trace;
    if (pause) f.pauseFile = pause;
    f.any = !f.point.empty() || !f.trace.empty();
    return f;
  }();
  return s;
}

}  // namespace

Error faultPoint(const char* name) {
  const FaultSettings& s = settings();
  if (!s.any) return ok();
  if (!s.trace.empty()) {
    if (std::FILE* f = std::fopen(s.trace.c_str(), "a")) {
      std::fprintf(f, "%s\n", name);
      std::fclose(f);
    }
  }
  if (s.point != name) return ok();
  if (s.action == "nospace")
    return makeError(ErrorCode::WriteError, std::string(std::strerror(ENOSPC)) + " (" + name + ")");
  if (s.action == "pause") {
    for (int i = 0; i < 600 && !s.pauseFile.empty() && ::access(s.pauseFile.c_str(), F_OK) == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return ok();
  }
  ::_exit(kFaultExit);
}

}  // namespace kdm
