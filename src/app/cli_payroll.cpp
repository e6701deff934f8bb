#include "app/cli_common.h"

namespace kdm::cli {

void addPayrollCommands(CLI::App&, Context&) {}

}  // namespace kdm::cli
