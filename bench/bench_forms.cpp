// Forming and joining submission files, each measured side by side with the
// least work it cannot avoid:
//  - forming one form from N employee rows of one obligor (default 100,000,
//    KDM_BENCH_ROWS) against inserting the same N page-B rows into TBOSIGUR
//    with plain prepared statements in one transaction; the peak memory of
//    forming is measured for N/5 and N rows in child processes, to show it
//    does not grow with the rows;
//  - joining F files of R rows (default 200 x 500) into the collective file
//    against `cat` of the same files into one file and `sha1sum` of it.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "data/seed.h"
#include "forms/form_creation.h"
#include "submission/collective.h"
#include "submission/submission_file.h"
#include "bench_support.h"

namespace {

using namespace kdm;
using namespace kdm::bench;

std::string jmbgOf(long i) {
  return std::to_string(1000000000000L + i);
}

void addObligorWithRows(DataStore& store, std::int16_t nr, long rows) {
  File<TBPOSLOD> pos(store);
  pos.open();
  pos.rec.REDBROJ = nr;
  pos.rec.NAZIV = "Poduzeće " + std::to_string(nr);
  pos.rec.ADRESA = "Ilica 1, Zagreb";
  pos.rec.VRSTOBVEZNIKA = "01";
  pos.rec.MB01 = "12345679";
  pos.rec.MB02 = "0000";
  pos.rec.JMBG = "0000000000000";
  pos.add();
  Transaction tx(store.db());
  File<TBZAPOSL> rad(store);
  rad.open();
  for (long i = 0; i < rows; ++i) {
    rad.rec = TBZAPOSL{};
    rad.rec.REDBROJ = nr;
    rad.rec.JMBG = jmbgOf(i / 2);  // two rows a person: a form holds at most 99,999 persons
    rad.rec.PREZIME = "Šimić Ivan " + std::to_string(i);
    rad.rec.OPCINA = "1333";
    rad.rec.VRSOBV = "01";
    rad.rec.VRSTAUPLA = "01";
    rad.rec.CLANDN = "D";
    rad.rec.OSNOVA1 = "11";
    rad.rec.GODOBRA = 2005;
    rad.rec.MJEOBRA = 5;
    rad.rec.ODDANA = 1;
    rad.rec.DODANA = 31;
    rad.rec.IZNOS7 = Decimal::fromInt(1500 + i % 100);
    rad.rec.IZNOS8 = Decimal::fromInt(1500 + i % 100);
    rad.rec.IZNOS9 = rad.rec.IZNOS8.percent(Decimal::fromInt(15));
    rad.rec.IZNOS10 = rad.rec.IZNOS8.percent(Decimal::fromInt(5));
    rad.rec.IZNOS11 = Decimal::fromInt(1000);
    rad.add();
  }
  tx.commit();
}

// The floor: the same page-B rows, plain prepared statements, one transaction.
double insertPageBPlain(DataStore& store, long rows) {
  auto t0 = Clock::now();
  sqlite3* db = store.db().handle();
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* st;
  sqlite3_prepare_v2(db,
                     "INSERT INTO TBOSIGUR (RBOSOB,JMBG,PREZIME,OPCINA,CLANDN,OSNOVA1,OSNOVA3,OBRRAZD1,OBRRAZD2,"
                     "IZNOS7,IZNOS8,IZNOS9,IZNOS10,IZNOS11,GODOBRA,OBRMJE,IDENTIFIKATOR,VRSUPL,KONVEZA,STOPA1,"
                     "STOPA2,STOPA11,STOPA22) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,0,0,0,0)",
                     -1, &st, nullptr);
  for (long i = 0; i < rows; ++i) {
    char rb[8];
    std::snprintf(rb, sizeof rb, "%05ld", (i + 1) % 100000);
    std::string jmbg = jmbgOf(i), name = "Šimić Ivan " + std::to_string(i);
    sqlite3_bind_text(st, 1, rb, -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, jmbg.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 3, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 4, "1333", -1, SQLITE_STATIC);
    sqlite3_bind_text(st, 5, "D", -1, SQLITE_STATIC);
    sqlite3_bind_text(st, 6, "11", -1, SQLITE_STATIC);
    sqlite3_bind_text(st, 7, "", -1, SQLITE_STATIC);
    sqlite3_bind_int(st, 8, 1);
    sqlite3_bind_int(st, 9, 31);
    for (int c = 10; c <= 14; ++c) sqlite3_bind_int64(st, c, (1500 + i % 100) * 10000);
    sqlite3_bind_int(st, 15, 2005);
    sqlite3_bind_int(st, 16, 5);
    sqlite3_bind_text(st, 17, "0015001", -1, SQLITE_STATIC);
    sqlite3_bind_text(st, 18, "01", -1, SQLITE_STATIC);
    sqlite3_bind_text(st, 19, "001500101", -1, SQLITE_STATIC);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  return since(t0);
}

struct FormingResult {
  double plain = 0, forming = 0;
  long peakBefore = 0, peakAfter = 0;
};

// Runs in a child process so that its peak memory is its own.
FormingResult measureForming(long rows) {
  FormingResult r;
  {
    DataDir floor;
    r.plain = insertPageBPlain(*floor.store, rows);
  }
  DataDir d;
  addObligorWithRows(*d.store, 1, rows);
  Globals GLO;
  Quiet out;
  openFormCreation(GLO, *d.store, out);
  chooseObligor(GLO, *d.store, 1, out);
  GLO.VrsUpl = "01";
  GLO.ObrGodina = 2005;
  GLO.ObrMjesec = 5;
  GLO.DanOd = 1;
  GLO.DanDo = 31;
  r.peakBefore = peakKiB();
  auto t0 = Clock::now();
  if (!processObligor(GLO, *d.store, DeliveryMode::Single, out)) std::abort();
  r.forming = since(t0);
  r.peakAfter = peakKiB();
  return r;
}

FormingResult inChild(long rows) {
  int fds[2];
  if (pipe(fds)) std::abort();
  pid_t pid = fork();
  if (pid == 0) {
    FormingResult r = measureForming(rows);
    if (write(fds[1], &r, sizeof r) != sizeof r) _exit(1);
    _exit(0);
  }
  // A child that fails ends the read instead of leaving it waiting.
  close(fds[1]);
  FormingResult r;
  if (read(fds[0], &r, sizeof r) != sizeof r) std::abort();
  waitpid(pid, nullptr, 0);
  return r;
}

void benchCollective(long files, long rows) {
  DataDir d;
  std::string folder = d.path + "/f";
  std::filesystem::create_directory(folder);
  APLPARAM apl;
  apl.JMBG = "1234567890125";
  Date sent = *Date::fromYmd(2005, 6, 20);
  std::string list;
  {
    Transaction tx(d.store->db());
    File<TBTMPDAT> tbt(*d.store);
    File<TBOBRAZA> a(*d.store);
    tbt.open();
    a.open();
    std::string raw;
    for (long f = 0; f < files; ++f) {
      TBOBRAZA form;
      char id[16];
      std::snprintf(id, sizeof id, "%03ld5001", f % 1000);
      form.IDENTIFIKATOR = id;
      form.KONVEZA = form.IDENTIFIKATOR + (f < 1000 ? "01" : "02");
      form.NAZIV = "Poduzeće " + std::to_string(f);
      form.MB01 = "12345679";
      form.MB02 = "0000";
      form.JMBG = "0000000000000";
      form.OBRGOD = "2005";
      form.OBRMJE = "05";
      form.VRSUPLA = "01";
      a.rec = form;
      a.add();
      std::string path = folder + "/F" + std::to_string(f) + ".TXT";
      list += " " + path;
      TextFile out;
      out.openEmpty(path);
      auto put = [&](const std::string& record) { out.appendLine(record); };
      put(headerRecord(apl, sent, HeaderRule::OneForm));
      put(formRecord(form, SignStyle::Zero));
      TBOSIGUR osi;
      for (long i = 0; i < rows; ++i) {
        osi.JMBG = jmbgOf(i);
        osi.PREZIME = "Šimić Ivan " + std::to_string(i);
        osi.IZNOS7 = osi.IZNOS8 = Decimal::fromInt(1500);
        put(insuredRecord(osi, i + 1, SignStyle::Zero));
      }
      put(formTrailerRecord(form, rows, sent));
      put(fileTrailerRecord(apl, sent, 1, HeaderRule::OneForm));
      out.close();
      tbt.rec = TBTMPDAT{};
      tbt.rec.FIRMA = static_cast<std::int16_t>(f);
      tbt.rec.IDENTIFIKATOR = form.KONVEZA;
      tbt.rec.IMEFILE = path;
      tbt.add();
    }
    tx.commit();
  }
  std::string cmd = "cat" + list + " > " + d.path + "/joined && sha1sum " + d.path + "/joined > /dev/null";
  auto t0 = Clock::now();
  if (std::system(cmd.c_str()) != 0) std::abort();
  double floor = since(t0);
  Globals GLO;
  GLO.DatSlanja = sent;
  Quiet out;
  t0 = Clock::now();
  formCollectiveFile(GLO, *d.store, out);
  double joined = since(t0);
  if (GLO.Status != 2) std::abort();
  std::printf("collective: %ld files x %ld rows (%.1f MB): join %.3f s, cat + sha1sum %.3f s, ratio %.2f\n", files,
              rows, std::filesystem::file_size(GLO.ImeDatoteke) / 1e6, joined, floor, joined / floor);
}

}  // namespace

int main() {
  long rows = envOr("KDM_BENCH_ROWS", 100000);
  for (long n : {rows / 5, rows}) {
    FormingResult r = inChild(n);
    std::printf("forming %ld rows: %.3f s, plain page-B insert %.3f s, ratio %.2f; peak memory %ld KiB before "
                "forming, %ld KiB after\n",
                n, r.forming, r.plain, r.forming / r.plain, r.peakBefore, r.peakAfter);
  }
  benchCollective(envOr("KDM_BENCH_FILES", 200), envOr("KDM_BENCH_FILE_ROWS", 500));
  return 0;
}
