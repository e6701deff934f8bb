// kdm params, kdm obligor, kdm employee: the register as a user keeps it.
#include <fstream>

#include "cli/cli_common.h"
#include "data/table_csv.h"
#include "register/contributions.h"
#include "register/employee.h"
#include "register/obligor.h"
#include "app/parameters.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kdm::cli {
namespace {

// Prefixes every message with the CSV line it is about.
class LineReporter : public Reporter {
 public:
  explicit LineReporter(Reporter& out) : out_(out) {}
  std::size_t line = 0;
  void message(const std::string& text) override { out_.message("line " + std::to_string(line) + ": " + text); }
  void status(const std::string& text) override { out_.status(text); }

 private:
  Reporter& out_;
};

int paramsShow(Context& ctx) {
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  APLPARAM apl;
  if (Error e = ensureParameters(*store, apl)) return ctx.fail(e);
  Record rec(*findLabel("APLPARAM"));
  toRecord(apl, rec);
  for (int i = 0; i < rec.size(); ++i) std::cout << rec.def().fields[i].name << "=" << rec.format(i) << '\n';
  return kDone;
}

int paramsSet(Context& ctx, const std::vector<std::string>& assignments) {
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  APLPARAM apl;
  if (Error e = ensureParameters(*store, apl)) return ctx.fail(e);
  Record rec(*findLabel("APLPARAM"));
  toRecord(apl, rec);
  for (const std::string& a : assignments) {
    auto eq = a.find('=');
    int field = eq == std::string::npos ? -1 : rec.index(a.substr(0, eq));
    if (field < 0 || rec.def().fields[field].name == "RB") {
      ctx.out.message("Expected FIELD=VALUE with a field of APLPARAM other than RB, not " + quoteInput(a));
      return kUsage;
    }
    if (Error e = rec.parse(field, a.substr(eq + 1))) return ctx.fail(e);
  }
  fromRecord(rec, apl);
  return saveParameters(ctx.GLO, *store, apl, ctx.out) ? kDone : kFailed;
}

std::int16_t nextObligorNumber(DataStore& store) {
  File<TBPOSLOD> pos(store);
  pos.open();
  pos.setStart("KEYREDBROJ");
  return pos.previous() ? 1 : static_cast<std::int16_t>(pos.rec.REDBROJ + 1);
}

// A save of CSV rows stores all of them or none: the first refusal (its
// messages already printed) or a malformed line ends the run, and nothing
// of the file stays, so the mended file can simply be saved again.
int nothingStored(Context& ctx, const Error& e = {}) {
  if (e) ctx.out.message(e.text);
  ctx.out.message("Nothing was stored.");
  return kFailed;
}

int obligorSave(Context& ctx, const std::string& path) {
  std::string text;
  if (!ctx.readFile(path, text)) return kFailed;
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  const LabelDef& def = *findLabel("TBPOSLOD");
  CsvRowReader rows;
  if (Error e = rows.open(def, text)) return nothingStored(ctx, e);
  Transaction tx(store->db());
  if (tx.error()) return ctx.fail(tx.error());
  LineReporter out(ctx.out);
  int stored = 0;
  const int redbroj = def.fieldIndex("REDBROJ");
  while (rows.next()) {
    out.line = rows.line();
    Record given(def);
    if (Error e = rows.apply(given)) return nothingStored(ctx, rows.atLine(e));
    // A number that exists is a change of that obligor, any other a new one.
    TBPOSLOD pos;
    CollectingReporter quiet;
    std::int16_t number = static_cast<std::int16_t>(given.integer(redbroj));
    bool isNew = number == 0 || !readObligor(*store, number, pos, quiet);
    if (isNew) primeNewObligor(pos);
    Record rec(def);
    toRecord(pos, rec);
    rows.apply(rec);
    fromRecord(rec, pos);
    if (isNew && number == 0) pos.REDBROJ = nextObligorNumber(*store);  // no number given: the next free one
    ctx.GLO.Firma = number;
    if (!saveObligor(ctx.GLO, *store, pos, isNew, out)) return nothingStored(ctx);
    ++stored;
  }
  if (rows.error()) return nothingStored(ctx, rows.error());
  if (Error e = tx.commit()) return nothingStored(ctx, e);
  ctx.out.status(std::to_string(stored) + " obligors stored");
  return kDone;
}

int obligorDelete(Context& ctx, int number) {
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  return deleteObligor(ctx.GLO, *store, static_cast<std::int16_t>(number), ctx.out) ? kDone : kFailed;
}

int employeeSave(Context& ctx, const std::string& path) {
  std::string text;
  if (!ctx.readFile(path, text)) return kFailed;
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  const LabelDef& def = *findLabel("TBZAPOSL");
  CsvRowReader rows;
  if (Error e = rows.open(def, text)) return nothingStored(ctx, e);
  const int redbroj = def.fieldIndex("REDBROJ"), iznos9 = def.fieldIndex("IZNOS9"), iznos10 = def.fieldIndex("IZNOS10");
  if (!rows.names(redbroj))
    return nothingStored(ctx,
                         makeError(ErrorCode::InvalidInput, "line 1: the column REDBROJ (the obligor) is required"));
  Transaction tx(store->db());
  if (tx.error()) return ctx.fail(tx.error());
  LineReporter out(ctx.out);
  int stored = 0;
  while (rows.next()) {
    out.line = rows.line();
    Record rec(def);
    if (Error e = rows.apply(rec)) return nothingStored(ctx, rows.atLine(e));
    TBPOSLOD pos;
    if (!readObligor(*store, static_cast<std::int16_t>(rec.integer(redbroj)), pos, out)) return nothingStored(ctx);
    // A new row of the obligor as the window starts it, then what the row gives.
    TBZAPOSL rad = newEmployeeRow(pos);
    toRecord(rad, rec);
    rows.apply(rec);
    fromRecord(rec, rad);
    ctx.GLO.Firma = pos.REDBROJ;
    ctx.GLO.VrsObv = pos.VRSTOBVEZNIKA;
    // The amounts entered: the rates always, the contributions the row leaves empty.
    enterContributions(*store, rad, !kdm::trim(rows.cell(iznos9)).empty(), !kdm::trim(rows.cell(iznos10)).empty());
    if (!saveEmployeeRow(ctx.GLO, *store, rad, true, 0, out)) return nothingStored(ctx);
    ++stored;
  }
  if (rows.error()) return nothingStored(ctx, rows.error());
  if (Error e = tx.commit()) return nothingStored(ctx, e);
  ctx.out.status(std::to_string(stored) + " employee rows stored");
  return kDone;
}

}  // namespace

void addRegisterCommands(CLI::App& app, Context& ctx) {
  auto* params = app.add_subcommand("params", "Show or change the application parameters");
  params->require_subcommand(1);
  params->add_subcommand("show", "The parameters record, FIELD=VALUE a line")->callback([&ctx] {
    ctx.action = [&ctx] { return paramsShow(ctx); };
  });
  auto assignments = std::make_shared<std::vector<std::string>>();
  auto* set = params->add_subcommand("set", "Change fields; stored only when the checks of saving pass");
  set->add_option("FIELD=VALUE", *assignments, "e.g. JMBG=1234567890125 NAZIV=\"Servis d.o.o.\"")->required();
  set->callback([&ctx, assignments] { ctx.action = [&ctx, assignments] { return paramsSet(ctx, *assignments); }; });

  auto file = std::make_shared<std::string>();
  auto number = std::make_shared<int>(0);
  auto* obligor = app.add_subcommand("obligor", "Save or delete obligors");
  obligor->require_subcommand(1);
  auto* osave = obligor->add_subcommand("save", "Save the CSV rows of TBPOSLOD, each through the checks of saving");
  osave->add_option("FILE", *file, "CSV with a header of TBPOSLOD field names")->required();
  osave->callback([&ctx, file] { ctx.action = [&ctx, file] { return obligorSave(ctx, *file); }; });
  auto* odel = obligor->add_subcommand("delete", "Delete an obligor (its employee rows stay)");
  odel->add_option("N", *number, "Obligor number")->required()->check(obligorNumberRange());
  odel->callback([&ctx, number] { ctx.action = [&ctx, number] { return obligorDelete(ctx, *number); }; });

  auto* employee = app.add_subcommand("employee", "Save employee rows");
  employee->require_subcommand(1);
  auto* esave = employee->add_subcommand("save", "Save the CSV rows of TBZAPOSL, each through the checks of saving");
  esave->add_option("FILE", *file, "CSV with a header of TBZAPOSL field names")->required();
  esave->callback([&ctx, file] { ctx.action = [&ctx, file] { return employeeSave(ctx, *file); }; });
}

}  // namespace kdm::cli
