#include "app/cli.h"

#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <sstream>

#include "data/seed.h"
#include "data/table_csv.h"
#include "data/text_label.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/hash.h"
#include "platform/report.h"

namespace kdm {
namespace {

constexpr int kDone = 0, kFailed = 1, kUsage = 2;

// Prints what a window would show: message boxes on stderr, the status
// line on stdout.
class ConsoleReporter : public Reporter {
 public:
  void message(const std::string& text) override { std::cerr << text << '\n'; }
  void status(const std::string& text) override { std::cout << text << '\n'; }
};

int fail(Reporter& out, const Error& e) {
  out.message(e.text);
  return kFailed;
}

int openStore(const std::string& dir, std::unique_ptr<DataStore>& store, Reporter& out) {
  if (Error e = DataStore::open(dir, false, store)) return fail(out, e);
  return kDone;
}

const LabelDef* labelOrFail(const std::string& name, Reporter& out) {
  const LabelDef* def = findLabel(name);
  if (!def) out.message("Unknown file label: " + name + " (kdm table list shows them)");
  return def;
}

int cmdInit(const std::string& dir, Reporter& out) {
  InitResult result;
  if (Error e = initDataDirectory(dir, result)) return fail(out, e);
  std::string db = joinPath(dir, Database::kFileName);
  out.status(result.created ? "Created " + db : db + " already exists");
  if (result.filled.empty()) {
    out.status("Every delivered table already holds records; nothing changed.");
  } else {
    std::string list;
    for (auto& f : result.filled) list += (list.empty() ? "" : ", ") + f;
    out.status("Filled: " + list);
  }
  return kDone;
}

int cmdTableList(const std::string& dir, Reporter& out) {
  std::unique_ptr<DataStore> store;
  if (int rc = openStore(dir, store, out)) return rc;
  char line[160];
  std::snprintf(line, sizeof line, "%-10s %-14s %-6s %s", "LABEL", "FILE", "KIND", "RECORDS");
  std::cout << line << '\n';
  for (const LabelDef& def : catalogue()) {
    std::string count, kind;
    if (def.kind == FileKind::Text) {
      kind = "text";
      count = std::to_string(countLines(store->pathOf(def.diskName)));
    } else {
      kind = def.isView() ? "view" : "keyed";
      RecordFile file(*store, def);
      count = file.open() ? "-" : std::to_string(file.count());
      if (def.isView()) count += " (view of " + def.table + ")";
    }
    std::snprintf(line, sizeof line, "%-10s %-14s %-6s %s", def.label.c_str(), def.diskName.c_str(), kind.c_str(),
                  count.c_str());
    std::cout << line << '\n';
  }
  return kDone;
}

int cmdTableExport(const std::string& dir, const std::string& label, const std::string& keyName, Reporter& out) {
  const LabelDef* def = labelOrFail(label, out);
  if (!def) return kFailed;
  const KeyDef* key = nullptr;
  if (!keyName.empty()) {
    key = def->key(keyName);
    if (!key) {
      std::string names;
      for (auto& k : def->keys) names += (names.empty() ? "" : ", ") + k.name;
      out.message("Unknown key " + keyName + " of " + def->label + (names.empty() ? " (it has none)" : " (keys: " + names + ")"));
      return kFailed;
    }
  }
  std::unique_ptr<DataStore> store;
  if (int rc = openStore(dir, store, out)) return rc;
  std::ostringstream csv;
  if (Error e = exportCsv(*store, *def, key, csv)) return fail(out, e);
  std::cout << csv.str();
  return kDone;
}

int cmdTableImport(const std::string& dir, const std::string& label, const std::string& path, Reporter& out) {
  const LabelDef* def = labelOrFail(label, out);
  if (!def) return kFailed;
  if (isDirectory(path)) {
    out.message(path + " is a directory, not a CSV file");
    return kFailed;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    out.message("Cannot read " + path);
    return kFailed;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::unique_ptr<DataStore> store;
  if (int rc = openStore(dir, store, out)) return rc;
  std::int64_t stored = 0;
  if (Error e = importCsv(*store, *def, text, stored)) {
    out.message(e.text);
    out.message("Nothing was stored.");
    return kFailed;
  }
  out.status(std::to_string(stored) + " records stored in " + def->label);
  return kDone;
}

int cmdHash(const std::string& path, Reporter& out) {
  if (isDirectory(path)) {
    out.message(path + " is a directory, not a file");
    return kFailed;
  }
  std::string error;
  auto hash = doSHAOnFile(path, &error);
  if (!hash) {
    out.message("Cannot read " + path + ": " + error);
    return kFailed;
  }
  out.status(controlNumber(*hash));
  return kDone;
}

}  // namespace

int runCommandLine(int argc, char** argv) {
  ConsoleReporter out;
  std::string todayProblem;
  if (!checkTodayOverride(todayProblem)) {
    out.message(todayProblem);
    return kUsage;
  }

  CLI::App app{"kdm: pension contribution forms K-Dm and their submission files for VALTA"};
  app.require_subcommand(0, 1);
  std::string dir = ".";
  app.add_option("--data", dir, "Data directory (default: the current directory)");

  auto* init = app.add_subcommand("init", "Create the data directory's tables and fill the delivered code tables");
  auto* table = app.add_subcommand("table", "List, export and import the files of the data directory");
  table->require_subcommand(1);
  auto* list = table->add_subcommand("list", "The files with their record counts");
  std::string label, keyName, file;
  auto* exp = table->add_subcommand("export", "A file as CSV on stdout, in the order of a key");
  exp->add_option("LABEL", label, "File label, e.g. TBOPCINE")->required();
  exp->add_option("--key", keyName, "Key name, e.g. KEYNAZIV (default: the primary key)");
  auto* imp = table->add_subcommand("import", "Store the rows of a CSV file through the record layer");
  imp->add_option("LABEL", label, "File label")->required();
  imp->add_option("FILE", file, "CSV file with a header of field names")->required();
  auto* hash = app.add_subcommand("hash", "The control number of a file");
  hash->add_option("FILE", file, "File to hash")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int rc = app.exit(e);
    return rc == 0 ? kDone : kUsage;
  }

  if (*init) return cmdInit(dir, out);
  if (*list) return cmdTableList(dir, out);
  if (*exp) return cmdTableExport(dir, label, keyName, out);
  if (*imp) return cmdTableImport(dir, label, file, out);
  if (*hash) return cmdHash(file, out);
  std::cout << app.help();
  return kDone;
}

}  // namespace kdm
