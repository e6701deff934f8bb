// kdm init, kdm table list/export/import, kdm hash.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_common.h"
#include "data/seed.h"
#include "data/table_csv.h"
#include "data/text_label.h"
#include "platform/files.h"
#include "platform/hash.h"
#include "platform/regular_file.h"
#include "platform/text.h"
#include "register/demo.h"

namespace kdm::cli {
namespace {

const LabelDef* labelOrFail(const std::string& name, Reporter& out) {
  const LabelDef* def = findLabel(name);
  if (!def) out.message("Unknown file label: " + quoteInput(name) + " (kdm table list shows them)");
  return def;
}

int init(Context& ctx, bool demo) {
  InitResult result;
  if (Error e = initDataDirectory(ctx.dir, result)) return ctx.fail(e);
  std::string db = joinPath(ctx.dir, Database::kFileName);
  ctx.out.status(result.created ? "Created " + db : db + " already exists");
  if (result.filled.empty()) {
    ctx.out.status("Every delivered table already holds records; nothing changed.");
  } else {
    std::string list;
    for (auto& f : result.filled) list += (list.empty() ? "" : ", ") + f;
    ctx.out.status("Filled: " + list);
  }
  if (!demo) return kDone;
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  DemoSet added;
  if (!fillDemoSet(ctx.GLO, *store, ctx.out, &added)) return kFailed;
  ctx.out.status("Demonstration set: the authorised person, " + std::to_string(added.obligors) + " obligors, " +
                 std::to_string(added.rows) + " employee rows");
  return kDone;
}

int list(Context& ctx) {
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  char line[160];
  std::snprintf(line, sizeof line, "%-10s %-14s %-6s %s", "LABEL", "FILE", "KIND", "RECORDS");
  std::cout << line << '\n';
  Error failed;
  for (const LabelDef& def : catalogue()) {
    std::string count, kind;
    if (def.kind == FileKind::Text) {
      kind = "text";
      count = std::to_string(countLines(store->pathOf(def.diskName)));
    } else {
      kind = def.isView() ? "view" : "keyed";
      RecordFile file(*store, def);
      std::int64_t n = 0;
      if (file.open()) {
        count = "-";
      } else if (Error e = countRecords(*store, def, n)) {
        // A damaged table is no empty one: the list goes on, the run fails.
        count = "?";
        if (!failed) failed = e;
      } else {
        count = std::to_string(n);
      }
      if (def.isView()) count += " (view of " + def.table + ")";
    }
    std::snprintf(line, sizeof line, "%-10s %-14s %-6s %s", def.label.c_str(), def.diskName.c_str(), kind.c_str(),
                  count.c_str());
    std::cout << line << '\n';
  }
  if (failed) return ctx.fail(failed);
  return kDone;
}

int exportTable(Context& ctx, const std::string& label, const std::string& keyName) {
  const LabelDef* def = labelOrFail(label, ctx.out);
  if (!def) return kFailed;
  const KeyDef* key = nullptr;
  if (!keyName.empty()) {
    key = def->key(keyName);
    if (!key) {
      std::string names;
      for (auto& k : def->keys) names += (names.empty() ? "" : ", ") + k.name;
      ctx.out.message("Unknown key " + quoteInput(keyName) + " of " + def->label +
                      (names.empty() ? " (it has none)" : " (keys: " + names + ")"));
      return kFailed;
    }
  }
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  std::ostringstream csv;
  if (Error e = exportCsv(*store, *def, key, csv)) return ctx.fail(e);
  std::cout << csv.str();
  return kDone;
}

int importTable(Context& ctx, const std::string& label, const std::string& path) {
  const LabelDef* def = labelOrFail(label, ctx.out);
  if (!def) return kFailed;
  std::string text;
  if (!ctx.readFile(path, text)) return kFailed;
  std::unique_ptr<DataStore> store;
  if (!ctx.openStore(store)) return kFailed;
  std::int64_t stored = 0;
  if (Error e = importCsv(*store, *def, text, stored)) {
    ctx.out.message(e.text);
    ctx.out.message("Nothing was stored.");
    return kFailed;
  }
  ctx.out.status(std::to_string(stored) + " records stored in " + def->label);
  return kDone;
}

int hash(Context& ctx, const std::string& path) {
  if (!ctx.requireFile(path)) return kFailed;
  std::string error;
  auto sha = doSHAOnFile(path, &error);
  if (!sha) {
    ctx.out.message("Cannot read " + path + ": " + error);
    return kFailed;
  }
  ctx.out.status(controlNumber(*sha));
  return kDone;
}

}  // namespace

bool Context::requireFile(const std::string& path) {
  if (Error e = requireRegularFile(path)) {
    out.message(e.text);
    return false;
  }
  return true;
}

bool Context::usablePath(const std::string& path) {
  std::error_code ec;
  if (path.empty() || !std::filesystem::exists(path, ec)) return true;
  return requireFile(path);
}

bool Context::readFile(const std::string& path, std::string& text) {
  if (!requireFile(path)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    out.message("Cannot read " + path);
    return false;
  }
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

void addTableCommands(CLI::App& app, Context& ctx) {
  auto demo = std::make_shared<bool>(false);
  auto* initCommand =
      app.add_subcommand("init", "Create the data directory's tables and fill the delivered code tables");
  initCommand->add_flag("--demo", *demo,
                        "Also add a demonstration set (authorised person, three obligors, employee rows of this "
                        "month) to a directory without obligors");
  initCommand->callback([&ctx, demo] { ctx.action = [&ctx, demo] { return init(ctx, *demo); }; });

  auto* table = app.add_subcommand("table", "List, export and import the files of the data directory");
  table->require_subcommand(1);
  table->add_subcommand("list", "The files with their record counts")->callback([&] {
    ctx.action = [&] { return list(ctx); };
  });
  struct Options {
    std::string label, key, file;
  };
  auto o = std::make_shared<Options>();
  auto* exp = table->add_subcommand("export", "A file as CSV on stdout, in the order of a key");
  exp->add_option("LABEL", o->label, "File label, e.g. TBOPCINE")->required();
  exp->add_option("--key", o->key, "Key name, e.g. KEYNAZIV (default: the primary key)");
  exp->callback([&ctx, o] { ctx.action = [&ctx, o] { return exportTable(ctx, o->label, o->key); }; });
  auto* imp = table->add_subcommand("import", "Store the rows of a CSV file through the record layer");
  imp->add_option("LABEL", o->label, "File label")->required();
  imp->add_option("FILE", o->file, "CSV file with a header of field names")->required();
  imp->callback([&ctx, o] { ctx.action = [&ctx, o] { return importTable(ctx, o->label, o->file); }; });

  auto* h = app.add_subcommand("hash", "The control number of a file");
  h->add_option("FILE", o->file, "File to hash")->required();
  h->callback([&ctx, o] { ctx.action = [&ctx, o] { return hash(ctx, o->file); }; });
}

}  // namespace kdm::cli
