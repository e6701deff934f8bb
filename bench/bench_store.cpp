// Record layer against plain prepared statements, side by side in one run:
// inserting N records of TBIZLAZ1 in one transaction, and reading them back
// in the order of ULZ1:KEYVRSTA. N defaults to 1,000,000 (KDM_BENCH_ROWS).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "data/record_layer.h"

namespace {

using namespace kdm;
using Clock = std::chrono::steady_clock;

std::int64_t rows() {
  const char* env = std::getenv("KDM_BENCH_ROWS");
  return env ? std::atoll(env) : 1000000;
}

std::map<std::string, double> seconds;

struct Dir {
  std::string path;
  std::unique_ptr<DataStore> store;
  Dir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kdm-bench-XXXXXX").string();
    path = mkdtemp(tmpl.data());
    DataStore::open(path, true, store);
  }
  ~Dir() {
    store.reset();
    std::filesystem::remove_all(path);
  }
};

const char* kKolone[] = {"KD5IBRT", "KD5IOSN", "KD5IST1", "KD5IST2", "KD3MBOO"};

void fill(Record& r, std::int64_t i) {
  r.setInteger(0, i / 3 + 1);
  r.setText(1, kKolone[i % 5]);
  r.setText(2, i % 7 ? "F" : "U");
  r.setText(3, "PREZIME IME " + std::to_string(i % 1000));
  r.setText(4, "Iznos doprinosa za I. stup nije jednak obračunanom iznosu " + std::to_string(i));
}

void insertPlain(DataStore& store, std::int64_t n) {
  sqlite3* db = store.db().handle();
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* st;
  sqlite3_prepare_v2(db, "INSERT INTO TBIZLAZ1 (REDBROJ,KOLONA,TIP,PREZIME,GRESKA) VALUES (?,?,?,?,?)", -1, &st,
                     nullptr);
  Record r(*findLabel("TBIZLAZ1"));
  for (std::int64_t i = 0; i < n; ++i) {
    fill(r, i);
    sqlite3_bind_int64(st, 1, r.integer(0));
    for (int c = 1; c < 5; ++c) sqlite3_bind_text(st, c + 1, r.text(c).data(), (int)r.text(c).size(), SQLITE_STATIC);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

void insertLayer(DataStore& store, std::int64_t n) {
  RecordFile f(store, "TBIZLAZ1");
  f.open();
  Transaction tx(store.db());
  Record r(f.def());
  for (std::int64_t i = 0; i < n; ++i) {
    fill(r, i);
    if (Error e = f.insert(r)) std::abort();
  }
  tx.commit();
}

std::int64_t readPlain(DataStore& store) {
  sqlite3* db = store.db().handle();
  sqlite3_stmt* st;
  sqlite3_prepare_v2(db,
                     "SELECT rowid,REDBROJ,KOLONA,TIP,PREZIME,GRESKA FROM TBIZLAZ1 ORDER BY REDBROJ,KOLONA,rowid",
                     -1, &st, nullptr);
  std::int64_t n = 0;
  Record r(*findLabel("TBIZLAZ1"));
  while (sqlite3_step(st) == SQLITE_ROW) {
    r.rowid = sqlite3_column_int64(st, 0);
    r.setInteger(0, sqlite3_column_int64(st, 1));
    for (int c = 1; c < 5; ++c)
      r.setText(c, std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, c + 1)),
                               sqlite3_column_bytes(st, c + 1)));
    ++n;
  }
  sqlite3_finalize(st);
  return n;
}

std::int64_t readLayer(DataStore& store) {
  RecordFile f(store, "TBIZLAZ1");
  f.open();
  f.set("KEYVRSTA");
  Record r;
  std::int64_t n = 0;
  while (!f.next(r)) ++n;
  return n;
}

template <class Fn>
void timed(benchmark::State& state, const char* name, Fn fn) {
  for (auto _ : state) {
    auto t0 = Clock::now();
    fn();
    double s = std::chrono::duration<double>(Clock::now() - t0).count();
    seconds[name] = s;
    state.SetIterationTime(s);
  }
  state.counters["rows/s"] = benchmark::Counter(double(rows()), benchmark::Counter::kIsRate);
}

void BM_InsertPlain(benchmark::State& state) {
  Dir d;
  timed(state, "insert plain", [&] { insertPlain(*d.store, rows()); });
}
void BM_InsertRecordLayer(benchmark::State& state) {
  Dir d;
  timed(state, "insert layer", [&] { insertLayer(*d.store, rows()); });
}
void BM_ReadPlain(benchmark::State& state) {
  Dir d;
  insertPlain(*d.store, rows());
  timed(state, "read plain", [&] { benchmark::DoNotOptimize(readPlain(*d.store)); });
}
void BM_ReadRecordLayer(benchmark::State& state) {
  Dir d;
  insertPlain(*d.store, rows());
  timed(state, "read layer", [&] {
    if (readLayer(*d.store) != rows()) std::abort();
  });
}

BENCHMARK(BM_InsertPlain)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertRecordLayer)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPlain)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRecordLayer)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  auto rate = [](const char* what) { return seconds.count(what) ? rows() / seconds[what] : 0.0; };
  std::printf("\n%lld rows of TBIZLAZ1\n", static_cast<long long>(rows()));
  for (const char* what : {"insert", "read"}) {
    double layer = rate((std::string(what) + " layer").c_str()), plain = rate((std::string(what) + " plain").c_str());
    if (layer > 0 && plain > 0)
      std::printf("%s: record layer %.0f rows/s, plain %.0f rows/s, layer/plain rate %.2f\n", what, layer, plain,
                  layer / plain);
  }
  return 0;
}
