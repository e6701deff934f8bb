// kdm payroll check, kdm payroll form: the payroll import.
#include "cli/cli_common.h"
#include "forms/form_creation.h"
#include "import/input_check.h"
#include "import/payroll_forms.h"
#include "platform/text.h"
#include "submission/control_number.h"

namespace kdm::cli {
namespace {

// The error list in its order, then the result window.
void printOutcome(DataStore& store, const ImportResult& result) {
  File<TBGRESKE> gre(store);
  if (!gre.open()) {
    gre.setStart("KEYREDBROJ");
    while (!gre.next())
      std::cout << padLeft(std::to_string(gre.rec.RB), 4) << "  " << fitWidth(gre.rec.JMBG, 13) << "  " << gre.rec.OPIS
                << '\n';
  }
  if (!result.shown) return;
  std::cout << "Ukupno obrađeno redaka: " << result.read << '\n'
            << "Retci koji zadovoljavaju kontrolama: " << result.accepted << '\n'
            << "Podaci sa upozorenjima: " << result.marked << '\n';
  if (!isBlank(result.note)) std::cout << trimRight(result.note) << '\n';
}

int check(Context& ctx, const FormOptions& o) {
  if (!ctx.usablePath(o.file)) return kFailed;
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  Globals& GLO = ctx.GLO;
  Reporter& out = ctx.out;
  InputCheckWindow w;
  // As a user fills the window: open it, choose the obligor and the type,
  // type the period and name the file.
  if (!openInputCheck(GLO, *store, w, out)) return kFailed;
  // An obligor that is not there is left for the run to report.
  if (!chooseCheckObligor(GLO, *store, w, static_cast<std::int16_t>(o.obligor)))
    GLO.Firma = static_cast<std::int16_t>(o.obligor);
  GLO.VrsUpl = o.type;
  if (!o.year.empty()) {
    if (!typedNumber(out, "--year", o.year, 4, w.year)) return kUsage;
    if (!leaveCheckYearField(o.year, out)) return kFailed;
  }
  if (!o.month.empty()) {
    if (!typedNumber(out, "--month", o.month, 2, w.month)) return kUsage;
    if (!leaveCheckMonthField(GLO, w, out)) return kFailed;
  }
  w.dayFrom = static_cast<std::int16_t>(o.from);
  w.dayTo = static_cast<std::int16_t>(o.to);
  if (o.fromGiven && !leaveCheckDayField(GLO, w, w.dayFrom, out)) return kFailed;
  if (o.toGiven && !leaveCheckDayField(GLO, w, w.dayTo, out)) return kFailed;
  w.file = o.file;
  ImportResult result;
  bool done = checkPayrollFile(GLO, *store, w, result, out);
  printOutcome(*store, result);
  return done ? kDone : kFailed;
}

int form(Context& ctx, const FormOptions& o) {
  if (!ctx.usablePath(o.file) || !ctx.usablePath(o.copyTo)) return kFailed;
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  Globals& GLO = ctx.GLO;
  Reporter& out = ctx.out;
  std::string file;
  if (!openPayrollForms(GLO, *store, file, out)) return kFailed;
  if (!choosePayrollObligor(GLO, *store, static_cast<std::int16_t>(o.obligor)))
    GLO.Firma = static_cast<std::int16_t>(o.obligor);
  if (int rc = typePeriod(ctx, *store, o, {leavePayrollYearField, leavePayrollMonthField, leavePayrollPayMonthField}))
    return rc;
  ImportResult result;
  bool formed = formFromPayroll(GLO, *store, chooseMode(GLO, o.mode), o.file, result, out);
  printOutcome(*store, result);
  if (!formed) return kFailed;
  if (!o.copyTo.empty() && !copyToMedium(GLO.ImeDatoteke, o.copyTo, out)) return kFailed;
  return kDone;
}

}  // namespace

void addPayrollCommands(CLI::App& app, Context& ctx) {
  auto* payroll = app.add_subcommand("payroll", "The payroll import: check a payroll file, form a form from it");
  payroll->require_subcommand(1);

  auto c = std::make_shared<FormOptions>();
  auto* chk = payroll->add_subcommand(
      "check", "Check the lines of one obligor and period; refill TBOSIGU2, TBOSIGU3 and the error list TBGRESKE");
  chk->add_option("FILE", c->file, "The payroll file")->required();
  addPeriodOptions(chk, c);
  chk->callback([&ctx, c] { ctx.action = [&ctx, c] { return check(ctx, *c); }; });

  auto f = std::make_shared<FormOptions>();
  auto* frm = payroll->add_subcommand("form", "Form one K-Dm form and its submission file from a payroll file");
  frm->add_option("FILE", f->file, "The payroll file")->required();
  addPeriodOptions(frm, f);
  addDeliveryOptions(frm, f, "the obligor's last");
  frm->callback([&ctx, f] { ctx.action = [&ctx, f] { return form(ctx, *f); }; });
}

}  // namespace kdm::cli
