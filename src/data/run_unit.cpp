#include "data/run_unit.h"

#include <unistd.h>

#include "platform/fault.h"
#include "platform/files.h"

namespace kdm {
namespace {

constexpr const char* kJournal = "kdm_pending";

Error createJournal(Database& db) {
  return db.exec(std::string("CREATE TABLE IF NOT EXISTS ") + kJournal +
                 " (final TEXT NOT NULL, temporary TEXT NOT NULL, committed INTEGER NOT NULL DEFAULT 0)");
}

Error step(Database& db, Statement* st) {
  int rc = st->step();
  st->reset();
  return rc == SQLITE_DONE || rc == SQLITE_ROW ? ok() : db.lastError(rc);
}

Error deleteJournalRow(Database& db, std::int64_t id) {
  Error e;
  Statement* st = db.prepare(std::string("DELETE FROM ") + kJournal + " WHERE rowid=?1", e);
  if (!st) return e;
  st->bind(1, id);
  return step(db, st);
}

// The lock name of a label: its table, or the text label itself.
std::string lockName(const std::string& label) {
  const LabelDef* def = findLabel(label);
  return def ? def->table.empty() ? def->label : def->table : label;
}

}  // namespace

RunUnit::~RunUnit() {
  if (!committed_) abandon();
  forget();
  if (journalHeld_) store_.db().letGo(kJournal);
  for (auto it = held_.rbegin(); it != held_.rend(); ++it) store_.db().letGo(*it);
}

Error RunUnit::hold(const std::vector<std::string>& labels) {
  const std::size_t before = held_.size();
  for (const std::string& label : labels) {
    std::string name = lockName(label);
    if (Error e = store_.db().hold(name)) {
      while (held_.size() > before) {
        store_.db().letGo(held_.back());
        held_.pop_back();
      }
      return e;
    }
    held_.push_back(name);
  }
  return ok();
}

Error RunUnit::begin(const std::vector<std::string>& deliveries) {
  Database& db = store_.db();
  if (!deliveries.empty()) {
    if (Error e = db.hold(kJournal)) return e;
    journalHeld_ = true;
    if (Error e = finishInterruptedRuns(store_)) return e;
    if (Error e = createJournal(db)) return e;
    for (const std::string& path : deliveries) {
      Error e;
      Statement* st = db.prepare(std::string("INSERT INTO ") + kJournal + " (final, temporary) VALUES (?1, ?2)", e);
      if (!st) return e;
      Delivery d{0, path, temporaryNameOf(path), false};
      st->bind(1, d.finalPath);
      st->bind(2, d.temporary);
      if ((e = step(db, st))) return e;
      d.id = sqlite3_last_insert_rowid(db.handle());
      deliveries_.push_back(d);
    }
  }
  if (Error e = faultPoint("run.begin")) return e;
  tx_.emplace(db);
  if (tx_->error()) {
    Error e = tx_->error();
    tx_.reset();
    return e;
  }
  return ok();
}

Error RunUnit::stage(const std::string& source, const std::string& finalPath) {
  for (Delivery& d : deliveries_) {
    if (d.finalPath != finalPath) continue;
    if (Error e = faultPoint("run.stage")) return e;
    if (Error e = copyFileSynced(source, d.temporary)) {
      // The user knows the file by its own name, not by the temporary one.
      if (auto at = e.text.find(d.temporary); at != std::string::npos)
        e.text.replace(at, d.temporary.size(), d.finalPath);
      return e;
    }
    d.staged = true;
    return ok();
  }
  return makeError(ErrorCode::InvalidValue, "Not a delivery of this run: " + finalPath);
}

Error RunUnit::commit() {
  Database& db = store_.db();
  if (!tx_) return makeError(ErrorCode::DatabaseError, "The run has not begun");
  for (const Delivery& d : deliveries_) {
    if (!d.staged) continue;
    Error e;
    Statement* st = db.prepare(std::string("UPDATE ") + kJournal + " SET committed=1 WHERE rowid=?1", e);
    if (!st) return e;
    st->bind(1, d.id);
    if ((e = step(db, st))) return e;
  }
  if (Error e = faultPoint("run.commit")) return e;
  if (Error e = tx_->commit()) return e;
  committed_ = true;
  tx_.reset();
  // From here the store holds the new state, so nothing may stop the
  // renames short of the process ending (a test's kill); a rename that
  // fails is left to finishInterruptedRuns, which the journal row calls for.
  faultPoint("run.committed");
  for (Delivery& d : deliveries_) {
    if (!d.staged) continue;
    if (Error e = renameSynced(d.temporary, d.finalPath)) return e;
    d.staged = false;
    faultPoint("run.renamed");
  }
  return ok();
}

void RunUnit::abandon() {
  tx_.reset();
  for (const Delivery& d : deliveries_) ::unlink(d.temporary.c_str());
}

// Clears this run's journal rows, unless a committed file still waits for
// its rename.
void RunUnit::forget() {
  for (const Delivery& d : deliveries_)
    if (!(committed_ && d.staged)) deleteJournalRow(store_.db(), d.id);
  deliveries_.clear();
}

Error finishInterruptedRuns(DataStore& store) {
  Database& db = store.db();
  if (!db.tableExists(kJournal)) return ok();
  // A run of another connection that holds the journal owns its rows.
  if (db.hold(kJournal)) return ok();
  struct Row {
    std::int64_t id;
    std::string finalPath, temporary;
    bool committed;
  };
  std::vector<Row> rows;
  Error e;
  Statement* st = db.prepare(std::string("SELECT rowid, final, temporary, committed FROM ") + kJournal, e);
  if (st) {
    while (st->step() == SQLITE_ROW)
      rows.push_back({st->int64(0), std::string(st->text(1)), std::string(st->text(2)), st->int64(3) != 0});
    st->reset();
  }
  for (const Row& r : rows) {
    if (r.committed && fileExists(r.temporary)) {
      if ((e = renameSynced(r.temporary, r.finalPath))) break;
    } else if (!r.committed) {
      ::unlink(r.temporary.c_str());
    }
    if ((e = deleteJournalRow(db, r.id))) break;
  }
  db.letGo(kJournal);
  return e;
}

}  // namespace kdm
