// kdm db check: the soundness of the data directory's store.
#include "cli/cli_common.h"
#include "submission/store_check.h"

namespace kdm::cli {
namespace {

int check(Context& ctx) {
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  StoreCheckResult result = checkStore(*store);
  for (const std::string& finding : result.findings) std::cout << finding << '\n';
  for (const std::string& note : result.notes) std::cout << "note: " << note << '\n';
  const std::string counted = std::to_string(result.forms) + " forms, " + std::to_string(result.rows) +
                              " page-B rows, " + std::to_string(result.listed) + " listed forms";
  if (!result.findings.empty()) {
    const std::size_t n = result.findings.size();
    ctx.out.message(std::to_string(n) + (n == 1 ? " finding in " : " findings in ") + store->db().path() + " (" +
                    counted + ")");
    return kFailed;
  }
  ctx.out.status("ok: " + store->db().path() + " (" + counted + ")");
  return kDone;
}

}  // namespace

void addDbCommands(CLI::App& app, Context& ctx) {
  auto* db = app.add_subcommand("db", "The data directory's store");
  db->require_subcommand(1);
  db->add_subcommand("check",
                     "SQLite's integrity check and the consistency of forms, page-B rows, the collective list and the "
                     "control numbers")
      ->callback([&] { ctx.action = [&] { return check(ctx); }; });
}

}  // namespace kdm::cli
