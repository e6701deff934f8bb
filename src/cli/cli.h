// The command line: one more client of the core. `kdm [--data DIR] COMMAND`.
// Exit status 0 when done, 1 when the program refused or failed (its
// message printed), 2 for a usage error. Message-box texts go to stderr,
// status-line texts to stdout.
#pragma once

namespace kdm {

int runCommandLine(int argc, char** argv);

}  // namespace kdm
