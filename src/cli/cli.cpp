#include "cli/cli.h"

#include "app/ui/desktop.h"
#include "cli/cli_common.h"
#include "platform/clock.h"

namespace kdm {

int runCommandLine(int argc, char** argv) {
  cli::Context ctx;
  std::string todayProblem;
  if (!checkTodayOverride(todayProblem)) {
    ctx.out.message(todayProblem);
    return cli::kUsage;
  }

  CLI::App app{"kdm: pension contribution forms K-Dm and their submission files for VALTA"};
  app.require_subcommand(0, 1);
  app.add_option("--data", ctx.dir, "Data directory (default: the current directory)");
  cli::addTableCommands(app, ctx);
  cli::addRegisterCommands(app, ctx);
  cli::addFormCommands(app, ctx);
  cli::addCheckCommands(app, ctx);
  cli::addPayrollCommands(app, ctx);
  cli::addDbCommands(app, ctx);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? cli::kDone : cli::kUsage;
  }
  if (ctx.action) {
    int rc = ctx.action();
    // A run that ended on a status line alone ("Obrada prekinuta ...") still
    // says on stderr that it failed.
    if (rc != cli::kDone && ctx.out.messages == 0 && !ctx.out.lastStatus.empty())
      std::cerr << ctx.out.lastStatus << '\n';
    return rc;
  }
  // Without a command the desktop program opens on the data directory.
  return runDesktop(ctx.dir, argc, argv);
}

}  // namespace kdm
