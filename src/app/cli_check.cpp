#include "app/cli_common.h"

namespace kdm::cli {

void addCheckCommands(CLI::App&, Context&) {}

}  // namespace kdm::cli
