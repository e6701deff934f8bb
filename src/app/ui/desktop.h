// The desktop program: `kdm` without a command opens the main frame on a
// data directory, creating its store with the delivered tables on the
// first start.
#pragma once

#include <string>

namespace kdm {

// Whether windows can be shown here: a display to open, or a Qt platform
// chosen by the environment (the tests' "offscreen"). When not, `why`
// tells in one line, with the way to the command line.
bool displayAvailable(std::string& why);

// Runs the desktop program on `dataDir` until its frame closes; the exit
// status of the program.
int runDesktop(const std::string& dataDir, int argc, char** argv);

}  // namespace kdm
