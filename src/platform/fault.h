// Fault injection, so tests can stop a run at any step the way a power cut
// or a full disk would.
//
// A run calls faultPoint("form.rows") at each step where stopping must leave
// the data directory consistent. Nothing happens unless the environment
// asks for it:
//   KDM_FAULT=<point>          the process ends at once (_exit(kFaultExit))
//   KDM_FAULT=<point>:nospace  the step fails as a write to a full disk does
//                              (after a commit nothing may fail: ignored)
//   KDM_FAULT=<point>:pause    the step waits while the file named by
//                              KDM_FAULT_PAUSE exists (at most a minute),
//                              so a test can start a second run meanwhile
//   KDM_FAULT_TRACE=<file>     every point reached is appended to <file>, so
//                              a test learns the steps of a run
#pragma once

#include "platform/errors.h"

namespace kdm {

inline constexpr int kFaultExit = 70;

// ok() unless the environment makes this point fail.
Error faultPoint(const char* name);

}  // namespace kdm
