// kdm payroll check, kdm payroll form: the payroll import.
#include "app/cli_common.h"
#include "forms/form_creation.h"
#include "import/input_check.h"
#include "import/payroll_forms.h"
#include "platform/text.h"
#include "submission/control_number.h"

namespace kdm::cli {
namespace {

struct PayrollOptions {
  std::string file;
  int obligor = 0;
  std::string type;
  std::string year, month;
  int from = 1, to = 31;
  bool fromGiven = false, toGiven = false;
  int payYear = -1, payMonth = -1;
  std::string sent;
  int seq = -1;
  std::string mode = "single";
  std::string copyTo;
};

// A year or month option as typed: digits only, at most `width` of them.
bool typedNumber(Reporter& out, const char* option, const std::string& text, std::size_t width, std::int16_t& value) {
  if (!isDigits(text) || text.size() > width) {
    out.message(std::string(option) + " must be a number, not \"" + text + "\"");
    return false;
  }
  value = static_cast<std::int16_t>(std::stoi(text));
  return true;
}

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

int check(Context& ctx, const PayrollOptions& o) {
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

int form(Context& ctx, const PayrollOptions& o) {
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  Globals& GLO = ctx.GLO;
  Reporter& out = ctx.out;
  std::string file;
  if (!openPayrollForms(GLO, *store, file, out)) return kFailed;
  if (!choosePayrollObligor(GLO, *store, static_cast<std::int16_t>(o.obligor)))
    GLO.Firma = static_cast<std::int16_t>(o.obligor);
  GLO.VrsUpl = o.type;
  if (!o.year.empty()) {
    if (!typedNumber(out, "--year", o.year, 4, GLO.ObrGodina)) return kUsage;
    if (!leavePayrollYearField(GLO, o.year, out)) return kFailed;
  }
  if (!o.month.empty()) {
    if (!typedNumber(out, "--month", o.month, 2, GLO.ObrMjesec)) return kUsage;
    if (!leavePayrollMonthField(GLO, out)) return kFailed;
  }
  GLO.DanOd = static_cast<std::int16_t>(o.from);
  GLO.DanDo = static_cast<std::int16_t>(o.to);
  if (o.fromGiven && !leaveDayField(GLO, GLO.DanOd, out)) return kFailed;
  if (o.toGiven && !leaveDayField(GLO, GLO.DanDo, out)) return kFailed;
  if (o.payYear >= 0) GLO.GodIsplate = static_cast<std::int16_t>(o.payYear);
  if (o.payMonth >= 0) {
    GLO.MjIsplate = static_cast<std::int16_t>(o.payMonth);
    if (!leavePayrollPayMonthField(GLO, out)) return kFailed;
  }
  if (!o.sent.empty()) {
    auto d = Date::parseDmy(o.sent);
    if (!d) {
      out.message("--sent must be a date DD.MM.YYYY, not \"" + o.sent + "\"");
      return kUsage;
    }
    GLO.DatSlanja = *d;
  }
  if (o.seq >= 0) GLO.ZadBroj = static_cast<std::int16_t>(o.seq);
  DeliveryMode mode = DeliveryMode::Single;
  if (o.mode != "single") {
    mode = DeliveryMode::Collective;
    GLO.IzborPosla = o.mode == "new" ? kNewFile : kAddToFile;
  }
  ImportResult result;
  bool formed = formFromPayroll(GLO, *store, mode, o.file, result, out);
  printOutcome(*store, result);
  if (!formed) return kFailed;
  if (!o.copyTo.empty() && !copyToMedium(GLO.ImeDatoteke, o.copyTo, out)) return kFailed;
  return kDone;
}

// The options the two commands share: the file, the obligor, the type and
// the period.
void addPeriodOptions(CLI::App* cmd, const std::shared_ptr<PayrollOptions>& o) {
  cmd->add_option("FILE", o->file, "The payroll file")->required();
  cmd->add_option("--obligor", o->obligor, "Obligor number")->required();
  cmd->add_option("--type", o->type, "Type of calculation, e.g. 01")->required();
  cmd->add_option("--year", o->year, "Calculation year (default: this year)");
  cmd->add_option("--month", o->month, "Calculation month (default: this month)");
  cmd->add_option("--from", o->from, "First day of the period (default 1)")->each([o](const std::string&) {
    o->fromGiven = true;
  });
  cmd->add_option("--to", o->to, "Last day of the period (default 31)")->each([o](const std::string&) {
    o->toGiven = true;
  });
}

}  // namespace

void addPayrollCommands(CLI::App& app, Context& ctx) {
  auto* payroll = app.add_subcommand("payroll", "The payroll import: check a payroll file, form a form from it");
  payroll->require_subcommand(1);

  auto c = std::make_shared<PayrollOptions>();
  auto* chk = payroll->add_subcommand(
      "check", "Check the lines of one obligor and period; refill TBOSIGU2, TBOSIGU3 and the error list TBGRESKE");
  addPeriodOptions(chk, c);
  chk->callback([&ctx, c] { ctx.action = [&ctx, c] { return check(ctx, *c); }; });

  auto f = std::make_shared<PayrollOptions>();
  auto* frm = payroll->add_subcommand("form", "Form one K-Dm form and its submission file from a payroll file");
  addPeriodOptions(frm, f);
  frm->add_option("--pay-year", f->payYear, "Year of the salary payment (default: the calculation year)");
  frm->add_option("--pay-month", f->payMonth, "Month of the salary payment (default: the calculation month)");
  frm->add_option("--sent", f->sent, "Date of sending DD.MM.YYYY (default: today)");
  frm->add_option("--seq", f->seq, "Sequence number of the form (default: the obligor's last)");
  frm->add_option("--mode", f->mode, "single, new (new collective file) or add (add to the collective file)")
      ->check(CLI::IsMember({"single", "new", "add"}));
  frm->add_option("--copy-to", f->copyTo, "Copy the formed file there (the removable medium)");
  frm->callback([&ctx, f] { ctx.action = [&ctx, f] { return form(ctx, *f); }; });
}

}  // namespace kdm::cli
