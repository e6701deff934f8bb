// Any bytes as a submission file: the record checks of the formal check,
// the field breakdown and the text lines of the findings must take them
// without a crash, a hang or undefined behaviour, and every finding must
// fit the fields that store it. One input in eight also goes through the
// whole run: the copy, the reader and the stored result.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/seed.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "submission/check_review.h"
#include "submission/formal_check.h"

namespace {

using namespace kdm;

struct Setup {
  std::string dir;
  std::unique_ptr<DataStore> store;
  CheckTables tables;

  Setup() {
    setenv("KDM_TODAY", "2005-06-15", 1);
    std::string tmpl = (std::filesystem::temp_directory_path() / "kdm-fuzz-check-XXXXXX").string();
    dir = mkdtemp(tmpl.data());
    InitResult r;
    if (initDataDirectory(dir, r) || DataStore::open(dir, false, store)) std::abort();
    File<APLPARAM> apl(*store);
    apl.open();
    apl.rec.RB = 1;
    apl.get("KEYRB");
    apl.rec.JMBG = "0101990000019";
    apl.put();
    if (tables.load(*store)) std::abort();
  }
  ~Setup() {
    store.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

class Quiet : public Reporter {
 public:
  void message(const std::string&) override {}
  void status(const std::string&) override {}
};

void require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Setup setup;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);

  Globals GLO;
  RecordChecker checker(GLO, setup.tables, today());
  std::vector<Finding> findings;
  std::int64_t number = 0;
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view raw = bytes.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    start = end + 1;

    SubmissionLine line(raw);
    findings.clear();
    checker.check(++number, line, findings);
    for (const Finding& f : findings) {
      require(f.record == number);
      require(f.type == 'F' || f.type == 'U');
      require(charCount(f.column) <= 10);
      require(charCount(f.name) <= 50);
      require(charCount(f.message) <= 140);
      TBIZLAZ1 stored;
      stored.REDBROJ = static_cast<std::int32_t>(f.record);
      stored.KOLONA = f.column;
      stored.TIP = std::string(1, f.type);
      stored.GRESKA = f.message;
      for (const std::string& l : findingLines(stored)) require(charCount(l) == 89);
    }
    FieldBreakdown b = fieldBreakdown(line.text());
    for (const BreakdownRow& r : b.rows) require(charCount(r.value) <= 50);
  }

  if (size % 8 == 0) {
    std::string path = setup.dir + "/input.TXT";
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Quiet out;
    CheckSummary summary;
    require(runFormalCheck(GLO, *setup.store, path, out, &summary));
    require(summary.records == number);
  }
  return 0;
}
