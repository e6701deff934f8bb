// The payroll import measured side by side with the least work it cannot
// avoid, on a generated payroll file of one obligor (default 1,000,000
// lines, KDM_BENCH_LINES) with a few hundred bad lines:
//  - the floor: reading the file once and inserting every line unchecked
//    into TBOSIGU3 and TBOSIGU2 with plain prepared statements in one
//    transaction; against it the input check of the file;
//  - the same floor with TBOSIGUR in place of the two working files;
//    against it the forming of a form from the same file (its bad lines
//    stop the run after the rows) and from the file without its bad lines
//    (the whole form: page A, the submission file, its hash and copy).
// Every run is a child process of its own on a fresh data directory, so
// its peak memory is its own; the runs are repeated for a fifth of the
// lines to show that memory does not grow with the file.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "data/seed.h"
#include "forms/form_creation.h"
#include "import/input_check.h"
#include "import/payroll_file.h"
#include "import/payroll_forms.h"
#include "platform/hash.h"
#include "platform/text.h"
#include "bench_support.h"

namespace {

using namespace kdm;
using namespace kdm::bench;

// A scratch data directory with obligor 1.
struct DataDir : bench::DataDir {
  DataDir() {
    File<TBPOSLOD> pos(*store);
    pos.open();
    pos.rec.REDBROJ = 1;
    pos.rec.NAZIV = "Poduzeće d.o.o.";
    pos.rec.VRSTOBVEZNIKA = "01";
    pos.rec.MB01 = "12345679";
    pos.rec.MB02 = "0000";
    pos.rec.JMBG = "0000000000000";
    pos.add();
  }
};

// A valid MBG for person `n`: the next number from 0101980000000 + 10 n
// whose check digit exists.
std::string personMbg(long n) {
  static const int w[] = {7, 6, 5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
  for (long k = n * 10;; ++k) {
    char d[32];
    std::snprintf(d, sizeof d, "0101%08ld", k);
    int s = 0;
    for (int i = 0; i < 12; ++i) s += w[i] * (d[i] - '0');
    int r = s % 11;
    if (r == 1) continue;
    d[12] = static_cast<char>('0' + (r == 0 ? 0 : 11 - r));
    d[13] = 0;
    return d;
  }
}

std::string amount(long cents) {
  char b[20];
  std::snprintf(b, sizeof b, "%c%014ld", cents < 0 ? '-' : '0', cents < 0 ? -cents : cents);
  return b;
}

// Writes `lines` payroll lines of obligor 12345679/0000 for May 2005;
// with `bad`, every 3000th line carries one fault (a few hundred in all).
// Every 4000th person has a second line with zero amounts where its first
// has positive ones. Names are CP1250, some with a byte CP1250 leaves
// undefined.
void writePayroll(const std::string& path, long lines, bool bad) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  long person = 0;
  std::string jmbg;
  for (long i = 0; i < lines; ++i) {
    bool second = i > 0 && i % 4000 == 1;
    if (!second) jmbg = personMbg(++person);
    bool member = person % 3 != 0;
    long base = 100000 + (person % 500) * 100;  // cents
    long gross = base + 50000, net = base - 20000;
    long pillarI = member ? base * 15 / 100 : base * 20 / 100;
    long pillarII = member ? base * 5 / 100 : 0;
    if (second) gross = base = pillarI = pillarII = 0;
    std::string name = "\x8Aimi\xE6 Ivan " + std::to_string(person);
    if (person % 1000 == 0) name += " \x81";
    std::string opcina = "1333", clan = member ? "D" : "N", iv8 = amount(base), iv9 = amount(pillarI);
    std::string mbg = jmbg;
    if (bad && i % 3000 == 2) {
      switch ((i / 3000) % 5) {
        case 0: mbg[12] = static_cast<char>('0' + (mbg[12] - '0' + 1) % 10); break;
        case 1: iv8 = "0000000001 0000"; break;
        case 2: opcina = "9999"; break;
        case 3: clan = "X"; break;
        case 4: iv9 = amount(pillarI + 5); break;
      }
    }
    char line[256];
    int n = std::snprintf(line, sizeof line, "%05ld%-12s%-13s%2s%2s%-4s%4s%2s%2s%2s%13s%-50.50s%4s%1s%2s%1s%s%s%s%s%s\r\n",
                          (i + 1) % 100000, "123456790000", "", "01", "01", "0001", "2005", "05", "01", "31",
                          mbg.c_str(), name.c_str(), opcina.c_str(), clan.c_str(), "11", " ", amount(gross).c_str(),
                          iv8.c_str(), iv9.c_str(), amount(pillarII).c_str(), amount(net).c_str());
    std::fwrite(line, 1, static_cast<std::size_t>(n), f);
  }
  std::fclose(f);
}

// The floor: every line read once, cut into its fields and inserted
// unchecked into each of `tables` by a plain prepared statement, in one
// transaction.
void insertPlain(DataStore& store, const std::string& path, std::initializer_list<const char*> tables) {
  sqlite3* db = store.db().handle();
  std::vector<sqlite3_stmt*> statements;
  for (const char* t : tables) {
    std::string sql = std::string(t) == "TBOSIGUR"
                          ? "INSERT INTO TBOSIGUR (RBOSOB,JMBG,PREZIME,OPCINA,CLANDN,OSNOVA1,OSNOVA3,OBRRAZD1,OBRRAZD2,"
                            "IZNOS7,IZNOS8,IZNOS9,IZNOS10,IZNOS11,GODOBRA,OBRMJE,IDENTIFIKATOR,VRSUPL,KONVEZA) VALUES "
                            "(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,?16,'0015001','01','001500101')"
                          : "INSERT INTO " + std::string(t) +
                                " (RBOSOB,JMBG,PREZIME,OPCINA,CLANDN,OSNOVA1,OSNOVA3,OBRRAZD1,OBRRAZD2,IZNOS7,IZNOS8,"
                                "IZNOS9,IZNOS10,IZNOS11,GODOBRA,OBRMJE,VRSUPL) VALUES "
                                "(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,?16,'01')";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) std::abort();
    statements.push_back(st);
  }
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  PayrollReader reader;
  if (reader.open(path)) std::abort();
  TBUPLATE line;
  auto text = [](sqlite3_stmt* st, int i, const std::string& s) {
    std::string_view t = trimRight(s);
    sqlite3_bind_text(st, i, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
  };
  while (reader.next(line)) {
    const std::string* amounts[] = {&line.IZNOS7, &line.IZNOS8, &line.IZNOS9, &line.IZNOS10, &line.IZNOS11};
    for (sqlite3_stmt* st : statements) {
      text(st, 1, line.RBOSOB);
      text(st, 2, line.JMBG);
      text(st, 3, line.PREZIME);
      text(st, 4, line.OPCINA);
      text(st, 5, line.CLANDN);
      text(st, 6, line.OSNOVA1);
      text(st, 7, line.OSNOVA3);
      sqlite3_bind_int(st, 8, fieldNumber(line.OBRRAZD1));
      sqlite3_bind_int(st, 9, fieldNumber(line.OBRRAZD2));
      for (int c = 0; c < 5; ++c) {
        auto a = payrollAmount(*amounts[c]);
        sqlite3_bind_int64(st, 10 + c, a ? a->units() : 0);
      }
      sqlite3_bind_int(st, 15, 2005);
      sqlite3_bind_int(st, 16, 5);
      sqlite3_step(st);
      sqlite3_reset(st);
    }
  }
  for (sqlite3_stmt* st : statements) sqlite3_finalize(st);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

struct Measured {
  double seconds = 0;
  long peakKiB = 0;
  long detail = 0;  // accepted lines of a check; GLO.Status of a form
};

// Runs `work` in a child process on a fresh data directory.
Measured inChild(const std::function<long(DataStore&)>& work) {
  int fds[2];
  if (pipe(fds)) std::abort();
  pid_t pid = fork();
  if (pid == 0) {
    Measured m;
    {
      DataDir d;
      auto t0 = Clock::now();
      m.detail = work(*d.store);
      m.seconds = since(t0);
      m.peakKiB = peakKiB();
    }
    if (write(fds[1], &m, sizeof m) != sizeof m) _exit(1);
    _exit(0);
  }
  Measured m;
  if (read(fds[0], &m, sizeof m) != sizeof m) std::abort();
  waitpid(pid, nullptr, 0);
  return m;
}

long runCheck(DataStore& store, const std::string& path) {
  Globals GLO;
  Quiet out;
  InputCheckWindow w;
  openInputCheck(GLO, store, w, out);
  chooseCheckObligor(GLO, store, w, 1);
  GLO.VrsUpl = "01";
  w.year = 2005;
  w.month = 5;
  w.dayFrom = 1;
  w.dayTo = 31;
  w.file = path;
  ImportResult result;
  if (!checkPayrollFile(GLO, store, w, result, out)) std::abort();
  return static_cast<long>(result.accepted);
}

long runForm(DataStore& store, const std::string& path) {
  Globals GLO;
  Quiet out;
  std::string file;
  openPayrollForms(GLO, store, file, out);
  choosePayrollObligor(GLO, store, 1);
  GLO.VrsUpl = "01";
  GLO.ObrGodina = GLO.GodIsplate = 2005;
  GLO.ObrMjesec = GLO.MjIsplate = 5;
  GLO.DanOd = 1;
  GLO.DanDo = 31;
  GLO.ZadBroj = 1;
  ImportResult result;
  formFromPayroll(GLO, store, DeliveryMode::Single, path, result, out);
  return GLO.Status;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

void measure(long lines) {
  std::string dir = tempDir("kdm-payroll");
  std::string withBad = dir + "/payroll.txt", clean = dir + "/clean.txt";
  writePayroll(withBad, lines, true);
  writePayroll(clean, lines, false);
  std::printf("%ld lines, %.1f MB, sha1sum %s\n", lines, std::filesystem::file_size(withBad) / 1e6,
              lower(doSHAOnFile(withBad).value_or("?")).c_str());

  Measured floorWork = inChild([&](DataStore& s) {
    insertPlain(s, withBad, {"TBOSIGU3", "TBOSIGU2"});
    return 0L;
  });
  Measured check = inChild([&](DataStore& s) { return runCheck(s, withBad); });
  std::printf("  input check %.2f s (%ld lines accepted), floor %.2f s, ratio %.2f; peak memory %ld KiB, floor %ld KiB\n",
              check.seconds, check.detail, floorWork.seconds, check.seconds / floorWork.seconds, check.peakKiB,
              floorWork.peakKiB);

  Measured floorRows = inChild([&](DataStore& s) {
    insertPlain(s, withBad, {"TBOSIGUR"});
    return 0L;
  });
  Measured rejected = inChild([&](DataStore& s) { return runForm(s, withBad); });
  Measured formed = inChild([&](DataStore& s) { return runForm(s, clean); });
  std::printf("  forms, same file (stopped by its bad lines, status %ld) %.2f s, floor %.2f s, ratio %.2f; peak memory "
              "%ld KiB, floor %ld KiB\n",
              rejected.detail, rejected.seconds, floorRows.seconds, rejected.seconds / floorRows.seconds,
              rejected.peakKiB, floorRows.peakKiB);
  std::printf("  forms, clean file (whole form and file, status %ld) %.2f s, ratio to the floor %.2f; peak memory %ld "
              "KiB\n",
              formed.detail, formed.seconds, formed.seconds / floorRows.seconds, formed.peakKiB);
  std::filesystem::remove_all(dir);
}

}  // namespace

int main() {
  long lines = envOr("KDM_BENCH_LINES", 1000000);
  measure(lines / 5);
  measure(lines);
  return 0;
}
