// Shared pieces of the command-line commands: the console reporter, the
// exit codes, opening the data directory.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <iostream>
#include <memory>
#include <string>

#include "app/globals.h"
#include "forms/form_creation.h"
#include "data/catalogue.h"
#include "data/record_layer.h"
#include "platform/report.h"

namespace kdm::cli {

constexpr int kDone = 0, kFailed = 1, kUsage = 2;

// What a window would show: message boxes on stderr, one line each; the
// status line on stdout.
class ConsoleReporter : public Reporter {
 public:
  void message(const std::string& text) override {
    std::cerr << text << '\n';
    ++messages;
  }
  void status(const std::string& text) override {
    std::cout << text << '\n';
    lastStatus = text;
  }
  int messages = 0;
  std::string lastStatus;
};

// One run of the command line: the data directory, the globals, where
// messages go, and the command chosen.
struct Context {
  std::string dir = ".";
  Globals GLO;
  ConsoleReporter out;
  std::function<int()> action;

  int fail(const Error& e) {
    out.message(e.text);
    return kFailed;
  }
  // A file the user named for reading; reports and returns false unless
  // it is a regular file (a FIFO would block, a device never end).
  bool requireFile(const std::string& path);
  // The whole of such a file; reports and returns false when it cannot be read.
  bool readFile(const std::string& path, std::string& text);
  // A path that names nothing yet or a regular file: the FILE of a process
  // that reports a missing file in its own words, a --copy-to that a copy
  // would replace. A directory, FIFO or device is refused.
  bool usablePath(const std::string& path);
  // The data directory's store; reports and returns false when it cannot
  // be opened.
  bool openStore(std::unique_ptr<DataStore>& store) {
    if (Error e = DataStore::open(dir, false, store)) {
      out.message(e.text);
      return false;
    }
    return true;
  }
};

// An obligor number as every identifier and file name holds it.
inline CLI::Range obligorNumberRange() { return CLI::Range(kLowestObligor, kHighestObligor); }

// The options of forming a form, shared by `kdm form` and `kdm payroll`.
struct FormOptions {
  std::string file;  // the payroll file
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
// --obligor, --type, --year, --month, --from, --to.
void addPeriodOptions(CLI::App* cmd, const std::shared_ptr<FormOptions>& o);
// --pay-year, --pay-month, --sent, --seq, --mode, --copy-to.
void addDeliveryOptions(CLI::App* cmd, const std::shared_ptr<FormOptions>& o, const char* seqDefault);
// A year or month option as typed: digits only, at most `width` of them.
bool typedNumber(Reporter& out, const char* option, const std::string& text, std::size_t width, std::int16_t& value);
// --sent into GLO.DatSlanja; false (a usage error) when it is not a date.
bool setSentDate(Context& ctx, const std::string& text);
// The field checks of the window whose fields a command fills.
struct PeriodChecks {
  bool (*year)(Globals&, const std::string& typed, Reporter&);
  bool (*month)(Globals&, Reporter&);
  bool (*payMonth)(Globals&, Reporter&);
};
// Types type, year, month, days, pay year and month, date of sending and
// sequence into the globals as a user fills the window, each field checked
// as it is left (the sequence against the room the obligor's identifier
// has for it, read from `store`). kDone, or the exit status of the refusal.
int typePeriod(Context& ctx, DataStore& store, const FormOptions& o, const PeriodChecks& checks);
// --mode as the window's options: the delivery and, when collective, the file choice.
DeliveryMode chooseMode(Globals& GLO, const std::string& mode);

void addTableCommands(CLI::App& app, Context& ctx);
void addFormCommands(CLI::App& app, Context& ctx);
void addRegisterCommands(CLI::App& app, Context& ctx);
void addCheckCommands(CLI::App& app, Context& ctx);    // kdm check
void addPayrollCommands(CLI::App& app, Context& ctx);  // kdm payroll
void addDbCommands(CLI::App& app, Context& ctx);       // kdm db

}  // namespace kdm::cli
