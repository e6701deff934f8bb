// The list machinery on large files, with a real view on the offscreen
// platform: the employee rows (TBZAPOSL, default 200,000 rows) and the
// page-B rows (TBOSIGUR, default 1,000,000). For each it times opening the
// list, jumping to the last row, paging, a jump into the middle, changing
// the key order (another tab), locating a name and refreshing after a row
// was changed by another handle, and prints the peak memory.
//   KDM_BENCH_EMPLOYEES, KDM_BENCH_PAGEB: the row counts.
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include <cstdio>
#include <cstdlib>

#include "bench_support.h"
#include "ui/record_list_model.h"

using namespace kdm;
using namespace kdm::bench;

namespace {

// Fills `table` with `rows` rows through plain statements in one
// transaction: the fixture, not what is measured.
void fill(DataStore& store, const char* table, long rows) {
  sqlite3* db = store.db().handle();
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* st = nullptr;
  std::string sql = std::string("INSERT INTO ") + table +
                    (std::string(table) == "TBZAPOSL"
                         ? " (REDBROJ,JMBG,PREZIME,DODANA,IZNOS7) VALUES (1,?1,?2,31,?3)"
                         : " (KONVEZA,JMBG,PREZIME,RBOSOB,IZNOS7) VALUES ('001500101',?1,?2,'00001',?3)");
  sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
  for (long i = 0; i < rows; ++i) {
    std::string jmbg = std::to_string(1000000000000L + (i * 7919) % rows);
    std::string name = "Prezime " + std::to_string((i * 104729) % rows) + " Šimić";
    sqlite3_bind_text(st, 1, jmbg.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(st, 3, (1500 + i % 100) * 10000);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

double timed(const std::function<void()>& step) {
  auto t0 = Clock::now();
  step();
  QApplication::processEvents();
  return since(t0) * 1000;
}

void measure(const char* label, const char* firstKey, const char* secondKey, long rows) {
  DataDir d;
  fill(*d.store, label, rows);
  long before = peakKiB();
  RecordFile file(*d.store, label);
  if (file.open()) std::abort();
  ui::RecordListModel model(file, {{"MBG", "JMBG", "s13"}, {"Prezime i ime", "PREZIME", "s36"},
                                   {"Bruto", "IZNOS7", "N-_15`2"}});
  QTableView view;
  view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view.resize(1000, 700);
  view.setModel(&model);
  view.show();
  const LabelDef& def = file.def();
  Record bounds = file.blank();
  double open = timed([&] { model.setRange(def.key(firstKey), 0, bounds); });
  double last = timed([&] { view.scrollToBottom(); });
  double paging = 0;
  view.scrollToTop();
  QApplication::processEvents();
  for (int i = 0; i < 20; ++i)
    paging += timed([&] {
      auto* bar = view.verticalScrollBar();
      bar->setValue(bar->value() + bar->pageStep());
    });
  double middle = timed([&] { view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2); });
  double tab = timed([&] { model.setRange(def.key(secondKey), 0, bounds); });
  Record at = file.blank();
  at.setText(def.fieldIndex("PREZIME"), "Prezime 15");
  double locate = timed([&] { view.scrollTo(model.index(model.locate(at), 0)); });
  // Another handle changes a row; the list reads again.
  RecordFile other(*d.store, label);
  other.open();
  Record row = other.blank();
  other.set(def.key(secondKey), nullptr);
  other.next(row);
  row.setText(def.fieldIndex("PREZIME"), "Promijenjeno Ime");
  other.put(row);
  double refresh = timed([&] { model.refresh(); });
  std::printf("%s %ld rows: open %.1f ms, last row %.1f ms, page %.1f ms (mean of 20), middle %.1f ms, "
              "other order %.1f ms, locate %.1f ms, refresh %.1f ms; blocks held %d; peak memory %ld KiB "
              "before the list, %ld KiB after\n",
              label, rows, open, last, paging / 20, middle, tab, locate, refresh, model.heldBlocks(), before,
              peakKiB());
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  measure("TBZAPOSL", "KEYRBRFIRME", "KEYPREZIME", envOr("KDM_BENCH_EMPLOYEES", 200000));
  measure("TBOSIGUR", "KEYOBRGODMJE", "KEYPREZIME", envOr("KDM_BENCH_PAGEB", 1000000));
  return 0;
}
