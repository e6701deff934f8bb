// The record layer: every read and write of a label goes through here.
//
// A DataStore is one data directory: its kdm.db with a table per keyed
// label, and the directory where the text labels live. A RecordFile is one
// window's open of one label, with its own position; it primes new records
// (defaults, auto-numbers), validates them before storing (field widths,
// the year ranges of the catalogue), reports a duplicate key by the key's
// description, and applies the cascades of the declared relations when a
// parent is deleted, all of one change in one transaction. The direct
// writes (add, put, erase) bypass priming, validation and relations, as
// the procedures that write files directly require; they still refuse a
// value that does not fit its field.
//
// Reads by key use the key's components in order; a positioned read runs
// forwards (next) or backwards (previous) from a key value, fetching rows
// in small batches by key value and rowid, so a row deleted or added by
// another handle is seen as of the next read. Key order is the order of
// the components, case-insensitive, then the order of insertion.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/catalogue.h"
#include "data/record.h"
#include "platform/errors.h"
#include "platform/sqlite_store.h"

namespace kdm {

enum class OpenMode { Shared, Exclusive };

// A stretch of one key's order: the records whose first `fixed` key
// components equal those of `bounds` (every record with 0), as a list
// window shows them, e.g. the employee rows of one obligor.
struct KeyRange {
  const KeyDef* key = nullptr;
  int fixed = 0;
  Record bounds;
};

class DataStore {
 public:
  // Opens the data directory `dir`. With `create`, a missing kdm.db is
  // created; otherwise it must exist. Either way it must be a kdm store
  // (Database::open); missing tables are created and an unmarked store of
  // ours is marked.
  static Error open(const std::string& dir, bool create, std::unique_ptr<DataStore>& out);

  Database& db() { return *db_; }
  const std::string& dir() const { return dir_; }
  // Path of a text label's file (or of any file) in the data directory.
  std::string pathOf(const std::string& diskName) const;

  // Change counters per table, so open cursors notice writes of others.
  std::uint64_t* generation(const std::string& table) { return &generations_[table]; }
  void touched(const std::string& table) { ++generations_[table]; }

 private:
  DataStore() = default;
  Error createSchema();

  std::string dir_;
  std::unique_ptr<Database> db_;
  std::unordered_map<std::string, std::uint64_t> generations_;
};

class RecordFile {
 public:
  RecordFile(DataStore& store, const LabelDef& def);
  // Unknown labels fail at open() with UnknownLabel.
  RecordFile(DataStore& store, const std::string& label);
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile();

  Error open(OpenMode mode = OpenMode::Shared);
  void close();
  bool isOpen() const { return open_; }
  const LabelDef& def() const { return *def_; }
  // A cleared record of this label.
  Record blank() const { return Record(*def_); }

  // The record whose key components equal those of `rec` (the first in key
  // order when the key allows duplicates); RecordNotFound when none.
  Error get(const KeyDef& key, Record& rec);
  Error get(const std::string& keyName, Record& rec);

  // Positions for next() at the first record >= `from` in the order of
  // `key` (all of them without `from`), and for previous() at the last
  // record <= `from` (all of them without `from`). A null key is physical
  // order, where `from` names a record by its rowid.
  Error set(const KeyDef* key, const Record* from = nullptr);
  Error set(const std::string& keyName, const Record* from = nullptr);
  // NoMoreRecords at the end.
  Error next(Record& rec);
  Error previous(Record& rec);

  // Clears the record, sets the label's defaults and its auto-numbers.
  Error prime(Record& rec);
  // Through the record layer: auto-numbers where still zero, validation,
  // unique keys. `rec.rowid` is set.
  Error insert(Record& rec);
  // Changes the record read last as `rec` (by its rowid), validated.
  Error update(Record& rec);
  // Deletes the record and, first, its cascading children.
  Error remove(const Record& rec);
  // Direct writes: no priming, validation or relations.
  Error add(Record& rec);
  Error put(Record& rec);
  Error erase(const Record& rec);

  std::int64_t count();

  // Reads for list windows, each one statement with no position kept, so
  // a list can jump anywhere in a large file without stepping through it.
  // The number of records in `range`.
  Error count(const KeyRange& range, std::int64_t& n);
  // How many records of `range` come before the first one at or after
  // the key value of `at` (its key components; its rowid is ignored).
  Error rank(const KeyRange& range, const Record& at, std::int64_t& n);
  // Up to `n` records of `range` from the `offset`-th (0 is the first) in
  // key order; with `fromEnd` the offset counts back from the last record.
  // Either way `out` is in key order.
  Error readAt(const KeyRange& range, std::int64_t offset, int n, bool fromEnd, std::vector<Record>& out);
  // Up to `n` records of `range` after (forward) or before `from` in key
  // order, `out` in key order. A record read from the store (rowid set)
  // is itself left out; a key value (rowid 0) is a place between records:
  // forward starts at the first record at or after it.
  Error readNear(const KeyRange& range, const Record& from, bool forward, int n, std::vector<Record>& out);

  // Deletes every record; the file must be open exclusively.
  Error empty();

 private:
  struct Cursor;

  Error requireOpen() const;
  Error write(Record& rec, bool insertRow, bool layer);
  Error validate(const Record& rec) const;
  const KeyDef* duplicatedKey(const Record& rec, std::int64_t self);
  Error assignAutoNumbers(Record& rec);
  Error fetch(bool forward);
  Error step(Record& rec, bool forward);
  Error translate(int rc) const;
  Error rangeRead(const KeyRange& range, const Record* from, bool forward, std::int64_t offset, int n,
                  std::vector<Record>& out);

  DataStore& store_;
  const LabelDef* def_;
  std::string label_;
  bool open_ = false;
  OpenMode mode_ = OpenMode::Shared;
  std::unique_ptr<Cursor> cursor_;
  std::string insertSql_, updateSql_;  // built on first use
};

// The same record layer over a record struct of records.h: `rec` is the
// handle's buffer, as a window holds it.
template <class T>
class File {
 public:
  explicit File(DataStore& store, const std::string& label = T::kLabel) : file_(store, label) {}
  Error open(OpenMode mode = OpenMode::Shared) { return file_.open(mode); }
  void close() { file_.close(); }
  RecordFile& raw() { return file_; }

  T rec{};

  void clear() { rec = T{}; }
  Error get(const std::string& key) { return via([&](Record& r) { return file_.get(key, r); }); }
  Error set(const std::string& key) { return withRecord([&](Record& r) { return file_.set(key, &r); }); }
  Error setStart(const std::string& key) { return file_.set(key, nullptr); }
  Error next() { return via([&](Record& r) { return file_.next(r); }); }
  Error previous() { return via([&](Record& r) { return file_.previous(r); }); }
  Error prime() { return via([&](Record& r) { return file_.prime(r); }); }
  Error insert() { return via([&](Record& r) { return file_.insert(r); }); }
  Error update() { return via([&](Record& r) { return file_.update(r); }); }
  Error remove() { return withRecord([&](Record& r) { return file_.remove(r); }); }
  Error add() { return via([&](Record& r) { return file_.add(r); }); }
  Error put() { return via([&](Record& r) { return file_.put(r); }); }
  Error erase() { return withRecord([&](Record& r) { return file_.erase(r); }); }
  std::int64_t count() { return file_.count(); }
  Error empty() { return file_.empty(); }
  // The store's rowid of the record last read or written; 0 for none.
  std::int64_t rowid() const { return rowid_; }
  void setRowid(std::int64_t rowid) { rowid_ = rowid; }

 private:
  template <class Fn>
  Error withRecord(Fn fn) {
    if (!file_.isOpen()) return makeError(ErrorCode::FileNotOpen);
    Record r = file_.blank();
    toRecord(rec, r);
    r.rowid = rowid_;
    return fn(r);
  }
  template <class Fn>
  Error via(Fn fn) {
    if (!file_.isOpen()) return makeError(ErrorCode::FileNotOpen);
    Record r = file_.blank();
    toRecord(rec, r);
    r.rowid = rowid_;
    Error e = fn(r);
    if (!e) {
      fromRecord(r, rec);
      rowid_ = r.rowid;
    }
    return e;
  }

  RecordFile file_;
  std::int64_t rowid_ = 0;
};

// The number of records of a keyed label (of its table, for a view), or
// the store's error: a damaged store is reported, not counted as empty.
Error countRecords(DataStore& store, const LabelDef& def, std::int64_t& count);

}  // namespace kdm
