// The formal check of a large collective file, measured side by side with
// the least work it cannot avoid: reading the file once and inserting its
// records unchecked into TBIZLAZ with plain prepared statements in one
// transaction (the five pieces converted to UTF-8, as the store holds
// text). The file has KDM_BENCH_RECORDS records (default 1,000,000): forms
// of 500 persons, each form with findings (a wrong MBG, an unknown
// municipality, a contribution off by more than the tolerance). Each size
// runs in a child process, for N/5 and N records, so that the peak memory
// of the check is its own and shows whether it grows with the file.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "data/seed.h"
#include "platform/cp1250.h"
#include "platform/textfile.h"
#include "submission/formal_check.h"
#include "submission/submission_file.h"
#include "bench_support.h"

namespace {

using namespace kdm;
using namespace kdm::bench;

std::string validMbg(long serial) {
  static constexpr int w[] = {7, 6, 5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
  for (long s = serial;; s += 1) {
    char base[16];
    std::snprintf(base, sizeof base, "0101%08ld", s % 100000000);
    int sum = 0;
    for (int i = 0; i < 12; ++i) sum += w[i] * (base[i] - '0');
    int r = sum % 11;
    if (r != 1) return std::string(base) + static_cast<char>('0' + (r == 0 ? 0 : 11 - r));
  }
}


// A collective file of `records` records: forms of up to 500 persons.
void generate(const std::string& path, long records) {
  APLPARAM apl;
  apl.JMBG = validMbg(1);
  apl.NAZIV = "Knjigovodstveni servis";
  apl.ADRESA = "Ilica 1, Zagreb";
  apl.KONOSO = "Nedro";
  Date sent = *Date::fromYmd(2005, 6, 10);
  TextFile out;
  if (out.openEmpty(path)) std::abort();
  auto put = [&](const std::string& record) {
    if (out.appendLine(record)) std::abort();
  };
  put(headerRecord(apl, sent, HeaderRule::Collective));
  long left = records - 2, forms = 0;
  while (left >= 3) {
    long persons = std::min(500L, left - 2);
    left -= persons + 2;
    TBOBRAZA a;
    char id[40];
    std::snprintf(id, sizeof id, "%03ld5%03ld", forms % 1000, forms / 1000 + 1);
    a.IDENTIFIKATOR = id;
    a.VRSUPLA = "01";
    a.MB01 = "12345679";
    a.MB02 = "0000";
    a.JMBG = "0000000000000";
    a.NAZIV = "Poduzeće Čačak " + std::to_string(forms);
    a.ADRESA = "Ilica 1, Zagreb";
    a.VRSTOBVEZNIKA = "01";
    a.OBRMJE = "05";
    a.OBRGOD = "2005";
    a.GODPLA = "2005";
    a.MJEPLA = "06";
    std::vector<std::string> rows;
    for (long i = 0; i < persons; ++i) {
      TBOSIGUR r;
      r.JMBG = validMbg(forms * 1000 + i);
      if (i == 0) r.JMBG.back() = static_cast<char>('0' + (r.JMBG.back() - '0' + 1) % 10);  // wrong check digit
      r.PREZIME = "Šimić Željka " + std::to_string(i);
      r.OPCINA = i == 1 ? "9999" : "0019";  // an unknown municipality
      r.OSNOVA1 = "11";
      r.OBRRAZD1 = 1;
      r.OBRRAZD2 = 31;
      r.IZNOS7 = r.IZNOS8 = Decimal::fromInt(1000 + i % 300);
      r.IZNOS9 = r.IZNOS8.percent(Decimal::fromInt(i == 2 ? 50 : 15));  // off by more than 300.00
      r.IZNOS10 = r.IZNOS8.percent(Decimal::fromInt(5));
      r.IZNOS11 = r.IZNOS7 - r.IZNOS9 - r.IZNOS10;
      a.IZNOS7 += r.IZNOS7;
      a.IZNOS8 += r.IZNOS8;
      a.IZNOS9 += r.IZNOS9;
      a.IZNOS10 += r.IZNOS10;
      a.IZNOS11 += r.IZNOS11;
      rows.push_back(insuredRecord(r, i + 1, SignStyle::Zero));
    }
    a.BROJOSIG = static_cast<std::int32_t>(persons);
    put(formRecord(a, SignStyle::Zero));
    for (const std::string& r : rows) put(r);
    put(formTrailerRecord(a, persons, sent));
    ++forms;
  }
  put(fileTrailerRecord(apl, sent, forms, HeaderRule::Collective));
  if (out.close()) std::abort();
}

// The floor: one read of the file, every record into TBIZLAZ unchecked.
double insertUnchecked(DataStore& store, const std::string& path, long& count) {
  auto t0 = Clock::now();
  sqlite3* db = store.db().handle();
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_exec(db, "DELETE FROM TBIZLAZ", nullptr, nullptr, nullptr);
  sqlite3_stmt* st;
  sqlite3_prepare_v2(db,
                     "INSERT INTO TBIZLAZ (REDBROJ,TIPSLOGA,GRESKA,REDAK1,REDAK2,REDAK3,REEDAK4,REDAK5) "
                     "VALUES (?,?,'',?,?,?,?,?)",
                     -1, &st, nullptr);
  TextFile in;
  if (in.openRead(path, false)) std::abort();
  std::string line;
  count = 0;
  while (in.readLine(line)) {
    line.resize(kSubmissionRecordWidth, ' ');
    sqlite3_bind_int64(st, 1, ++count);
    std::string type = cp1250ToUtf8(std::string_view(line).substr(249, 1));
    sqlite3_bind_text(st, 2, type.data(), static_cast<int>(type.size()), SQLITE_TRANSIENT);
    for (int i = 0; i < 5; ++i) {
      std::string piece = cp1250ToUtf8(std::string_view(line).substr(i * 50, 50));
      sqlite3_bind_text(st, 3 + i, piece.data(), static_cast<int>(piece.size()), SQLITE_TRANSIENT);
    }
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  return since(t0);
}

struct Result {
  long records = 0;
  long findings = 0;
  double floor = 0, check = 0, sha1sum = 0;
  long peakBefore = 0, peakAfter = 0;
  double megabytes = 0;
  char sha[48] = {};
};

Result measure(const std::string& root, long records) {
  Result r;
  std::string file = root + "/VALTA.RM0";
  generate(file, records);
  r.megabytes = std::filesystem::file_size(file) / 1e6;

  auto t0 = Clock::now();
  std::string cmd = "sha1sum " + file;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p || !std::fgets(r.sha, sizeof r.sha, p)) std::abort();
  pclose(p);
  r.sha1sum = since(t0);
  r.sha[40] = '\0';

  {
    DataDir floorDir(root + "/floor");
    r.floor = insertUnchecked(*floorDir.store, file, r.records);
  }
  std::filesystem::remove_all(root + "/floor");
  DataDir d(root + "/check");
  Globals GLO;
  Quiet out;
  CheckSummary summary;
  r.peakBefore = peakKiB();
  t0 = Clock::now();
  if (!runFormalCheck(GLO, *d.store, file, out, &summary)) std::abort();
  r.check = since(t0);
  r.peakAfter = peakKiB();
  if (summary.records != r.records) std::abort();
  r.findings = summary.errors + summary.warnings;
  return r;
}

Result inChild(const std::string& root, long records) {
  int fds[2];
  if (pipe(fds)) std::abort();
  pid_t pid = fork();
  if (pid == 0) {
    Result r = measure(root, records);
    if (write(fds[1], &r, sizeof r) != sizeof r) _exit(1);
    _exit(0);
  }
  Result r;
  if (read(fds[0], &r, sizeof r) != sizeof r) std::abort();
  waitpid(pid, nullptr, 0);
  return r;
}

}  // namespace

int main() {
  setenv("KDM_TODAY", "2005-06-15", 1);
  long records = envOr("KDM_BENCH_RECORDS", 1000000);
  std::string tmpl = (std::filesystem::temp_directory_path() / "kdm-bench-check-XXXXXX").string();
  std::string root = mkdtemp(tmpl.data());
  for (long n : {records / 5, records}) {
    std::string dir = root + "/" + std::to_string(n);
    std::filesystem::create_directory(dir);
    Result r = inChild(dir, n);
    std::filesystem::remove_all(dir);
    std::printf("formal check of %ld records (%.1f MB, %ld findings): check %.3f s, read + unchecked insert %.3f s, "
                "ratio %.2f; sha1sum %.3f s (%s); peak memory %ld KiB before the check, %ld KiB after\n",
                r.records, r.megabytes, r.findings, r.check, r.floor, r.check / r.floor, r.sha1sum, r.sha,
                r.peakBefore, r.peakAfter);
    std::fflush(stdout);
  }
  std::filesystem::remove_all(root);
  return 0;
}
