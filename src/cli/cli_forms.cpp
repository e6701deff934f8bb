// kdm form, kdm collect, kdm forms: forming forms and submission files.
#include <cstdio>

#include "cli/cli_common.h"
#include "forms/form_creation.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "submission/collective.h"
#include "submission/control_number.h"

namespace kdm::cli {

void addPeriodOptions(CLI::App* cmd, const std::shared_ptr<FormOptions>& o) {
  cmd->add_option("--obligor", o->obligor, "Obligor number")->required()->check(obligorNumberRange());
  cmd->add_option("--type", o->type, "Type of calculation, e.g. 01")->required();
  cmd->add_option("--year", o->year, "Calculation year (default: this year)");
  cmd->add_option("--month", o->month, "Calculation month (default: this month)");
  cmd->add_option("--from", o->from, "First day of the period (default 1)")
      ->check(CLI::Range(1, 31))
      ->each([o](const std::string&) { o->fromGiven = true; });
  cmd->add_option("--to", o->to, "Last day of the period (default 31)")
      ->check(CLI::Range(1, 31))
      ->each([o](const std::string&) { o->toGiven = true; });
}

void addDeliveryOptions(CLI::App* cmd, const std::shared_ptr<FormOptions>& o, const char* seqDefault) {
  // The pay year and month go into the form's six digits MMYYYY; the
  // sequence into at most three digits of the identifier.
  cmd->add_option("--pay-year", o->payYear, "Year of the salary payment (default: the calculation year)")
      ->check(CLI::Range(1000, 9999));
  cmd->add_option("--pay-month", o->payMonth, "Month of the salary payment (default: the calculation month)")
      ->check(CLI::Range(0, 12));
  cmd->add_option("--sent", o->sent, "Date of sending DD.MM.YYYY (default: today)");
  cmd->add_option("--seq", o->seq, std::string("Sequence number of the form (default: ") + seqDefault + ")")
      ->check(CLI::Range(1, 999));
  cmd->add_option("--mode", o->mode, "single, new (new collective file) or add (add to the collective file)")
      ->check(CLI::IsMember({"single", "new", "add"}));
  cmd->add_option("--copy-to", o->copyTo, "Copy the formed file there (the removable medium)");
}

bool typedNumber(Reporter& out, const char* option, const std::string& text, std::size_t width, std::int16_t& value) {
  if (!isDigits(text) || text.size() > width) {
    out.message(std::string(option) + " must be a number, not " + quoteInput(text));
    return false;
  }
  value = static_cast<std::int16_t>(std::stoi(text));
  return true;
}

bool setSentDate(Context& ctx, const std::string& text) {
  if (text.empty()) return true;
  auto d = Date::parseDmy(text);
  if (!d) {
    ctx.out.message("--sent must be a date DD.MM.YYYY, not " + quoteInput(text));
    return false;
  }
  ctx.GLO.DatSlanja = *d;
  return true;
}

int typePeriod(Context& ctx, DataStore& store, const FormOptions& o, const PeriodChecks& checks) {
  Globals& GLO = ctx.GLO;
  Reporter& out = ctx.out;
  GLO.VrsUpl = o.type;
  if (!o.year.empty()) {
    if (!typedNumber(out, "--year", o.year, 4, GLO.ObrGodina)) return kUsage;
    if (!checks.year(GLO, o.year, out)) return kFailed;
  }
  if (!o.month.empty()) {
    if (!typedNumber(out, "--month", o.month, 2, GLO.ObrMjesec)) return kUsage;
    if (!checks.month(GLO, out)) return kFailed;
  }
  GLO.DanOd = static_cast<std::int16_t>(o.from);
  GLO.DanDo = static_cast<std::int16_t>(o.to);
  // The defaults 1 and 31 mean the whole month, whatever its length.
  if (o.fromGiven && !leaveDayField(GLO, GLO.DanOd, out)) return kFailed;
  if (o.toGiven && !leaveDayField(GLO, GLO.DanDo, out)) return kFailed;
  if (o.payYear >= 0) GLO.GodIsplate = static_cast<std::int16_t>(o.payYear);
  if (o.payMonth >= 0) {
    GLO.MjIsplate = static_cast<std::int16_t>(o.payMonth);
    if (!checks.payMonth(GLO, out)) return kFailed;
  }
  if (!setSentDate(ctx, o.sent)) return kUsage;
  if (o.seq >= 0) GLO.ZadBroj = static_cast<std::int16_t>(o.seq);
  if (!leaveSequenceField(GLO, store, out)) return kFailed;
  return kDone;
}

DeliveryMode chooseMode(Globals& GLO, const std::string& mode) {
  if (mode == "single") return DeliveryMode::Single;
  GLO.IzborPosla = mode == "new" ? kNewFile : kAddToFile;
  return DeliveryMode::Collective;
}

namespace {

// The copy of a formed file to the removable medium, when asked for.
int copyIfAsked(Context& ctx, const std::string& destination) {
  if (destination.empty()) return kDone;
  return copyToMedium(ctx.GLO.ImeDatoteke, destination, ctx.out) ? kDone : kFailed;
}

int form(Context& ctx, const FormOptions& o) {
  if (!ctx.usablePath(o.copyTo)) return kFailed;
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  Globals& GLO = ctx.GLO;
  Reporter& out = ctx.out;
  // As a user fills the window: open it, choose the obligor and the type,
  // then type the period; each field is checked as it is left.
  if (!openFormCreation(GLO, *store, out)) return kFailed;
  if (!chooseObligor(GLO, *store, static_cast<std::int16_t>(o.obligor), out)) return kFailed;
  if (int rc = typePeriod(ctx, *store, o, {leaveYearField, leaveMonthField, leavePayMonthField})) return rc;
  if (!processObligor(GLO, *store, chooseMode(GLO, o.mode), out)) return kFailed;
  return copyIfAsked(ctx, o.copyTo);
}

int collect(Context& ctx, const std::string& sent, const std::string& copyTo) {
  if (!ctx.usablePath(copyTo)) return kFailed;
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  ctx.GLO.DatSlanja = today();
  if (!setSentDate(ctx, sent)) return kUsage;
  formCollectiveFile(ctx.GLO, *store, ctx.out);
  if (ctx.GLO.Status != 2) return kFailed;
  ctx.out.status("Formiran je file " + ctx.GLO.ImeDatoteke);
  return copyIfAsked(ctx, copyTo);
}

int forms(Context& ctx) {
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  File<TBOBRAZA> a(*store);
  if (Error e = a.open()) return ctx.fail(e);
  a.setStart("KEYIDENTIKATOR");
  while (!a.next()) {
    const TBOBRAZA& r = a.rec;
    std::cout << fitWidth(r.KONVEZA, 9) << "  " << fitWidth(r.NAZIV, 40) << "  " << r.OBRGOD << "  " << r.OBRMJE
              << "  " << padLeft(std::to_string(r.BROJOSIG), 5) << "  " << padLeft(std::to_string(r.BROJSTRANA), 5)
              << "  " << r.KONZNAK << '\n';
  }
  return kDone;
}

}  // namespace

void addFormCommands(CLI::App& app, Context& ctx) {
  auto o = std::make_shared<FormOptions>();
  auto* f = app.add_subcommand("form", "Form one K-Dm form and its submission file from the employee rows");
  addPeriodOptions(f, o);
  addDeliveryOptions(f, o, "the obligor's next");
  f->callback([&ctx, o] { ctx.action = [&ctx, o] { return form(ctx, *o); }; });

  auto c = std::make_shared<std::pair<std::string, std::string>>();
  auto* col = app.add_subcommand("collect", "Join the files of the listed forms into the collective file VALTA.RM0");
  col->add_option("--sent", c->first, "Date of sending DD.MM.YYYY (default: today)");
  col->add_option("--copy-to", c->second, "Copy the collective file there (the removable medium)");
  col->callback([&ctx, c] { ctx.action = [&ctx, c] { return collect(ctx, c->first, c->second); }; });

  app.add_subcommand("forms", "The formed forms: key, name, year, month, persons, pages, control number")
      ->callback([&ctx] { ctx.action = [&ctx] { return forms(ctx); }; });
}

}  // namespace kdm::cli
