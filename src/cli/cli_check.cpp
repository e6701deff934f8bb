// kdm check: the formal check of a submission file and the review of its
// stored result.
#include "cli/cli_common.h"
#include "platform/text.h"
#include "submission/check_review.h"
#include "submission/formal_check.h"

namespace kdm::cli {
namespace {

// The window's status line shows the running count over and over; printed
// line by line that would be one line per ten records, so only the last
// count before anything else is printed.
class CheckReporter : public ConsoleReporter {
 public:
  ~CheckReporter() override { flush(); }
  void status(const std::string& text) override {
    if (text.rfind("Obrađeno ", 0) == 0) {
      pending_ = text;
      return;
    }
    flush();
    ConsoleReporter::status(text);
  }
  void message(const std::string& text) override {
    flush();
    ConsoleReporter::message(text);
  }
  void flush() {
    if (pending_.empty()) return;
    ConsoleReporter::status(pending_);
    pending_.clear();
  }

 private:
  std::string pending_;
};

void printLines(const TBIZLAZ1& finding) {
  for (const std::string& line : findingLines(finding)) std::cout << line << '\n';
}

int check(Context& ctx, const std::string& path, bool txt) {
  if (!ctx.usablePath(path)) return kFailed;
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  CheckReporter out;
  CheckSummary summary;
  if (!runFormalCheck(ctx.GLO, *store, path, out, &summary)) return kFailed;
  out.flush();
  File<TBIZLAZ1> findings(*store);
  Error e = findings.open();
  if (!e) e = findings.setStart("KEYVRSTA");
  while (!e && !(e = findings.next())) printLines(findings.rec);
  if (e.kind() != ErrorCode::NoMoreRecords) return ctx.fail(e);
  std::cout << "records " << summary.records << ", findings " << summary.errors << " errors, " << summary.warnings
            << " warnings\n";
  if (txt && !writeFindingsText(*store, out)) return kFailed;
  return kDone;
}

int show(Context& ctx, long long number) {
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  TBIZLAZ row;
  std::vector<TBIZLAZ1> findings;
  if (!readCheckedRecord(*store, number, row, findings)) {
    ctx.out.message("The last check has no record " + std::to_string(number));
    return kFailed;
  }
  std::string text = recordText(row);
  FieldBreakdown b = fieldBreakdown(text);
  if (b.title.empty()) {
    // A record of an unknown type has no fields to show; its text stands in.
    std::cout << trimRight(text) << '\n';
  } else {
    std::cout << b.title << '\n';
    for (const BreakdownRow& r : b.rows)
      if (!r.label.empty()) std::cout << fitWidth(r.label, 10) << "  " << trimRight(r.value) << '\n';
  }
  for (const TBIZLAZ1& f : findings) printLines(f);
  return kDone;
}

}  // namespace

void addCheckCommands(CLI::App& app, Context& ctx) {
  struct Options {
    std::string file;
    bool txt = false;
    long long show = 0;
  };
  auto o = std::make_shared<Options>();
  auto* c = app.add_subcommand("check", "Check a submission file formally and list the findings; "
                                        "or show a record of the last check");
  auto* file = c->add_option("FILE", o->file, "The submission file to check");
  auto* txt = c->add_flag("--txt", o->txt, "Also write the findings to TBIZLAZ2.TXT in the data directory");
  auto* showOption = c->add_option("--show", o->show, "Show record N of the last check: its fields and findings")
                         ->check(CLI::PositiveNumber);
  showOption->excludes(file)->excludes(txt);
  txt->needs(file);
  c->callback([&ctx, o, file, showOption] {
    if (showOption->count() > 0) {
      ctx.action = [&ctx, o] { return show(ctx, o->show); };
    } else if (file->count() > 0) {
      ctx.action = [&ctx, o] { return check(ctx, o->file, o->txt); };
    } else {
      throw CLI::RequiredError("FILE or --show");
    }
  });
}

}  // namespace kdm::cli
