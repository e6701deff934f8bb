// The program's one clock. KDM_TODAY=YYYY-MM-DD fixes "today", so scripted
// runs and tests are reproducible; otherwise it is the local date.
#pragma once

#include <string>

#include "platform/date.h"

namespace kdm {

Date today();
// False, with a message, when KDM_TODAY is set but is not a valid date.
bool checkTodayOverride(std::string& message);

}  // namespace kdm
