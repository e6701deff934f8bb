#include "data/record_layer.h"

#include "data/run_unit.h"

#include <sqlite3.h>

#include <algorithm>
#include <set>

#include "platform/files.h"
#include "platform/text.h"

namespace kdm {
namespace {

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

std::string selectList(const LabelDef& d) {
  std::string s = "rowid";
  for (auto& f : d.fields) s += "," + quoted(f.name);
  return s;
}

std::string columnType(const FieldDef& f) {
  return f.isText() ? "TEXT NOT NULL DEFAULT '' COLLATE KDM_HR" : "INTEGER NOT NULL DEFAULT 0";
}

// The condition that leaves out records whose key fields are all empty;
// the same text is the WHERE of the partial index, so the planner uses it.
std::string keptByKey(const LabelDef& d, const KeyDef& k) {
  std::string s = "NOT (";
  for (std::size_t i = 0; i < k.components.size(); ++i) {
    const FieldDef& f = d.fields[k.components[i]];
    if (i) s += " AND ";
    s += quoted(f.name) + (f.isText() ? "=''" : "=0");
  }
  return s + ")";
}

std::string componentList(const LabelDef& d, const KeyDef& k, const char* suffix = "") {
  std::string s;
  for (std::size_t i = 0; i < k.components.size(); ++i) {
    if (i) s += ",";
    s += quoted(d.fields[k.components[i]].name) + suffix;
  }
  return s;
}

void bindField(sqlite3_stmt* st, int index, const Record& r, int field) {
  if (r.def().fields[field].isText()) {
    std::string_view t = trimRight(r.text(field));
    sqlite3_bind_text(st, index, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
  } else {
    sqlite3_bind_int64(st, index, r.integer(field));
  }
}

void readRow(sqlite3_stmt* st, Record& r) {
  r.rowid = sqlite3_column_int64(st, 0);
  const auto& fields = r.def().fields;
  for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
    if (fields[i].isText()) {
      auto p = reinterpret_cast<const char*>(sqlite3_column_text(st, i + 1));
      r.setText(i, p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(st, i + 1))) : std::string());
    } else {
      r.setInteger(i, sqlite3_column_int64(st, i + 1));
    }
  }
}

}  // namespace

// ---------------------------------------------------------------- DataStore

Error DataStore::open(const std::string& dir, bool create, std::unique_ptr<DataStore>& out) {
  if (!isDirectory(dir))
    return makeError(ErrorCode::PathNotFound, "Data directory not found: " + dir);
  std::string path = joinPath(dir, Database::kFileName);
  if (!create && !fileExists(path))
    return makeError(ErrorCode::FileNotFound,
                     "No kdm data in " + dir + ": " + Database::kFileName + " is missing (run kdm init)");
  std::unique_ptr<DataStore> store(new DataStore());
  store->dir_ = dir;
  Error e = Database::open(path, create ? Database::Mode::Create : Database::Mode::OpenExisting, store->db_);
  if (e) return e;
  if ((e = store->createSchema())) return e;
  // A run stopped between its commit and its renames is finished first.
  if ((e = finishInterruptedRuns(*store))) return e;
  out = std::move(store);
  return ok();
}

std::string DataStore::pathOf(const std::string& diskName) const { return joinPath(dir_, diskName); }

Error DataStore::createSchema() {
  // Only a store that lacks something is written to: an open must not wait
  // for the write lock that a run of another process holds.
  std::set<std::string> present;
  {
    Error e;
    Statement* st = db_->prepare("SELECT name FROM sqlite_master WHERE type IN ('table','index')", e);
    if (!st) return e;
    while (st->step() == SQLITE_ROW) present.insert(std::string(st->text(0)));
    st->reset();
  }
  bool complete = !db_->needsMark();
  for (const LabelDef& d : catalogue()) {
    if (d.kind != FileKind::Keyed || d.isView() || d.neverCreated) continue;
    complete = complete && present.count(d.table);
    for (const KeyDef& k : d.keys) complete = complete && present.count(d.table + "_" + k.name);
  }
  if (complete) return ok();

  Transaction tx(*db_);
  if (tx.error()) return tx.error();
  for (const LabelDef& d : catalogue()) {
    if (d.kind != FileKind::Keyed || d.isView() || d.neverCreated) continue;
    std::string sql = "CREATE TABLE IF NOT EXISTS " + quoted(d.table) + " (";
    for (std::size_t i = 0; i < d.fields.size(); ++i)
      sql += (i ? ", " : "") + quoted(d.fields[i].name) + " " + columnType(d.fields[i]);
    sql += ")";
    if (Error e = db_->exec(sql)) return e;
    for (const KeyDef& k : d.keys) {
      std::string idx = "CREATE " + std::string(k.unique ? "UNIQUE " : "") + "INDEX IF NOT EXISTS " +
                        quoted(d.table + "_" + k.name) + " ON " + quoted(d.table) + " (" + componentList(d, k) + ")";
      if (k.excludeEmpty) idx += " WHERE " + keptByKey(d, k);
      if (Error e = db_->exec(idx)) return e;
    }
  }
  // The mark commits with the tables it vouches for.
  if (db_->needsMark())
    if (Error e = db_->mark()) return e;
  return tx.commit();
}

// --------------------------------------------------------------- RecordFile

// A positioned read: a live statement stepping in key order, re-issued
// from the last record returned whenever the table was written meanwhile
// or the direction changes.
struct RecordFile::Cursor {
  const KeyDef* key = nullptr;
  Record from;
  bool hasFrom = false;
  Record last;
  bool hasLast = false;
  bool forward = true;
  sqlite3_stmt* stmt = nullptr;
  std::uint64_t* generation = nullptr;
  std::uint64_t seen = 0;
  bool done = false;

  ~Cursor() { sqlite3_finalize(stmt); }
  void drop() {
    sqlite3_finalize(stmt);
    stmt = nullptr;
  }
};

RecordFile::RecordFile(DataStore& store, const LabelDef& def) : store_(store), def_(&def), label_(def.label) {}

RecordFile::RecordFile(DataStore& store, const std::string& label)
    : store_(store), def_(findLabel(label)), label_(label) {}

RecordFile::~RecordFile() { close(); }

Error RecordFile::open(OpenMode mode) {
  if (!def_) return makeError(ErrorCode::UnknownLabel, std::string(errorText(ErrorCode::UnknownLabel)) + ": " + label_);
  if (def_->kind != FileKind::Keyed)
    return makeError(ErrorCode::UnknownLabel, def_->label + " is a text file, not a keyed file");
  if (open_) close();
  if (def_->neverCreated && !store_.db().tableExists(def_->table))
    return makeError(ErrorCode::FileNotFound, std::string(errorText(ErrorCode::FileNotFound)) + ": " + def_->diskName);
  if (Error e = store_.db().acquire(def_->table, mode == OpenMode::Exclusive, this)) return e;
  open_ = true;
  mode_ = mode;
  return ok();
}

void RecordFile::close() {
  cursor_.reset();
  if (open_) store_.db().release(def_->table, this);
  open_ = false;
}

Error RecordFile::requireOpen() const {
  if (!open_) return makeError(ErrorCode::FileNotOpen, std::string(errorText(ErrorCode::FileNotOpen)) + ": " +
                                                          (def_ ? def_->diskName : label_));
  return ok();
}

Error RecordFile::translate(int rc) const { return store_.db().lastError(rc); }

Error RecordFile::get(const std::string& keyName, Record& rec) {
  const KeyDef* k = def_ ? def_->key(keyName) : nullptr;
  if (!k) return makeError(ErrorCode::UnknownKey, std::string(errorText(ErrorCode::UnknownKey)) + ": " + keyName);
  return get(*k, rec);
}

Error RecordFile::get(const KeyDef& key, Record& rec) {
  if (Error e = requireOpen()) return e;
  std::string sql = "SELECT " + selectList(*def_) + " FROM " + quoted(def_->table) + " WHERE ";
  for (std::size_t i = 0; i < key.components.size(); ++i)
    sql += (i ? " AND " : "") + quoted(def_->fields[key.components[i]].name) + "=?" + std::to_string(i + 1);
  if (key.excludeEmpty) sql += " AND " + keptByKey(*def_, key);
  sql += " ORDER BY " + componentList(*def_, key) + ",rowid LIMIT 1";
  Error e;
  Statement* st = store_.db().prepare(sql, e);
  if (!st) return e;
  for (std::size_t i = 0; i < key.components.size(); ++i) bindField(st->raw(), static_cast<int>(i + 1), rec, key.components[i]);
  int rc = st->step();
  if (rc == SQLITE_ROW) {
    readRow(st->raw(), rec);
    st->reset();
    return ok();
  }
  st->reset();
  if (rc == SQLITE_DONE) return makeError(ErrorCode::RecordNotFound);
  return translate(rc);
}

Error RecordFile::set(const std::string& keyName, const Record* from) {
  const KeyDef* k = nullptr;
  if (!keyName.empty()) {
    k = def_ ? def_->key(keyName) : nullptr;
    if (!k) return makeError(ErrorCode::UnknownKey, std::string(errorText(ErrorCode::UnknownKey)) + ": " + keyName);
  }
  return set(k, from);
}

Error RecordFile::set(const KeyDef* key, const Record* from) {
  if (Error e = requireOpen()) return e;
  cursor_ = std::make_unique<Cursor>();
  cursor_->key = key;
  cursor_->generation = store_.generation(def_->table);
  if (from) {
    cursor_->from = *from;
    cursor_->hasFrom = true;
  }
  return ok();
}

Error RecordFile::fetch(bool forward) {
  Cursor& c = *cursor_;
  c.drop();
  c.forward = forward;
  c.done = false;
  c.seen = *c.generation + store_.db().rollbacks();
  const char* cmp = forward ? ">" : "<";
  const char* dir = forward ? "" : " DESC";
  std::string sql = "SELECT " + selectList(*def_) + " FROM " + quoted(def_->table);
  std::vector<std::string> where;
  std::vector<std::pair<const Record*, int>> binds;  // record, field (-1: rowid)
  if (c.key) {
    std::string cols = componentList(*def_, *c.key);
    if (c.hasLast) {
      std::string params;
      for (std::size_t i = 0; i <= c.key->components.size(); ++i) params += (i ? ",?" : "?");
      where.push_back("(" + cols + ",rowid) " + cmp + " (" + params + ")");
      for (int f : c.key->components) binds.emplace_back(&c.last, f);
      binds.emplace_back(&c.last, -1);
    } else if (c.hasFrom) {
      std::string params;
      for (std::size_t i = 0; i < c.key->components.size(); ++i) params += (i ? ",?" : "?");
      where.push_back("(" + cols + ") " + cmp + "= (" + params + ")");
      for (int f : c.key->components) binds.emplace_back(&c.from, f);
    }
    if (c.key->excludeEmpty) where.push_back(keptByKey(*def_, *c.key));
    sql += where.empty() ? "" : " WHERE " + where[0] + (where.size() > 1 ? " AND " + where[1] : "");
    sql += " ORDER BY " + componentList(*def_, *c.key, dir) + ",rowid" + dir;
  } else {
    if (c.hasLast) {
      sql += std::string(" WHERE rowid ") + cmp + " ?";
      binds.emplace_back(&c.last, -1);
    } else if (c.hasFrom) {
      sql += std::string(" WHERE rowid ") + cmp + "= ?";
      binds.emplace_back(&c.from, -1);
    }
    sql += std::string(" ORDER BY rowid") + dir;
  }
  int rc = sqlite3_prepare_v2(store_.db().handle(), sql.c_str(), -1, &c.stmt, nullptr);
  if (rc != SQLITE_OK) return translate(rc);
  for (std::size_t i = 0; i < binds.size(); ++i) {
    auto [rec, field] = binds[i];
    if (field < 0)
      sqlite3_bind_int64(c.stmt, static_cast<int>(i + 1), rec->rowid);
    else
      bindField(c.stmt, static_cast<int>(i + 1), *rec, field);
  }
  return ok();
}

Error RecordFile::step(Record& rec, bool forward) {
  if (Error e = requireOpen()) return e;
  if (!cursor_) set(static_cast<const KeyDef*>(nullptr), nullptr);
  Cursor& c = *cursor_;
  bool stale = c.seen != *c.generation + store_.db().rollbacks();
  if (c.done && c.forward == forward && !stale) return makeError(ErrorCode::NoMoreRecords);
  if (!c.stmt || c.forward != forward || stale)
    if (Error e = fetch(forward)) return e;
  int rc = sqlite3_step(c.stmt);
  if (rc == SQLITE_DONE) {
    c.done = true;
    return makeError(ErrorCode::NoMoreRecords);
  }
  if (rc != SQLITE_ROW) {
    Error e = translate(rc);
    c.drop();
    return e;
  }
  if (!rec.valid() || &rec.def() != def_) rec = Record(*def_);
  readRow(c.stmt, rec);
  c.last = rec;
  c.hasLast = true;
  return ok();
}

Error RecordFile::next(Record& rec) { return step(rec, true); }
Error RecordFile::previous(Record& rec) { return step(rec, false); }

Error RecordFile::assignAutoNumbers(Record& rec) {
  for (const KeyDef& k : def_->keys) {
    if (!k.autoNumber || k.components.size() != 1) continue;
    int f = k.components[0];
    if (rec.integer(f) != 0) continue;
    Error e;
    Statement* st = store_.db().prepare(
        "SELECT coalesce(max(" + quoted(def_->fields[f].name) + "),0)+1 FROM " + quoted(def_->table), e);
    if (!st) return e;
    int rc = st->step();
    if (rc != SQLITE_ROW) {
      st->reset();
      return translate(rc);
    }
    rec.setInteger(f, st->int64(0));
    st->reset();
  }
  return ok();
}

Error RecordFile::prime(Record& rec) {
  if (Error e = requireOpen()) return e;
  rec = Record(*def_);
  for (const DefaultValue& d : def_->defaults)
    if (Error e = rec.parse(d.field, d.value)) return e;
  return assignAutoNumbers(rec);
}

Error RecordFile::validate(const Record& rec) const { return validateRecord(*def_, rec); }

Error RecordFile::write(Record& rec, bool insertRow, bool layer) {
  if (Error e = requireOpen()) return e;
  if (!rec.valid() || rec.def().table != def_->table)
    return makeError(ErrorCode::InvalidValue, "A record of another file was given to " + def_->label);
  if (!insertRow && rec.rowid == 0) return makeError(ErrorCode::RecordNotFound);
  if (layer && insertRow)
    if (Error e = assignAutoNumbers(rec)) return e;
  for (int i = 0; i < rec.size(); ++i) {
    if (Error e = checkFits(rec, i)) return e;
    if (def_->fields[i].isText()) {
      std::string_view t = trimRight(rec.text(i));
      if (t.size() != rec.text(i).size()) rec.setText(i, std::string(t));
    }
  }
  if (layer)
    if (Error e = validate(rec)) return e;

  std::string& sql = insertRow ? insertSql_ : updateSql_;
  if (sql.empty()) {
    if (insertRow) {
      std::string cols, params;
      for (std::size_t i = 0; i < def_->fields.size(); ++i) {
        cols += (i ? "," : "") + quoted(def_->fields[i].name);
        params += i ? ",?" : "?";
      }
      sql = "INSERT INTO " + quoted(def_->table) + " (" + cols + ") VALUES (" + params + ")";
    } else {
      sql = "UPDATE " + quoted(def_->table) + " SET ";
      for (std::size_t i = 0; i < def_->fields.size(); ++i)
        sql += (i ? "," : "") + quoted(def_->fields[i].name) + "=?";
      sql += " WHERE rowid=?";
    }
  }
  Error e;
  Statement* st = store_.db().prepare(sql, e);
  if (!st) return e;
  for (int i = 0; i < rec.size(); ++i) bindField(st->raw(), i + 1, rec, i);
  if (!insertRow) st->bind(rec.size() + 1, rec.rowid);
  int rc = st->step();
  st->reset();
  if (rc == SQLITE_CONSTRAINT) {
    const KeyDef* k = duplicatedKey(rec, insertRow ? 0 : rec.rowid);
    return makeError(ErrorCode::DuplicateKey, std::string(errorText(ErrorCode::DuplicateKey)) + ": " +
                                                  (k ? k->description : def_->label));
  }
  if (rc != SQLITE_DONE) return translate(rc);
  if (insertRow)
    rec.rowid = sqlite3_last_insert_rowid(store_.db().handle());
  else if (sqlite3_changes(store_.db().handle()) == 0)
    return makeError(ErrorCode::RecordNotFound);
  store_.touched(def_->table);
  return ok();
}

// The first unique key, in declaration order, that another record already
// holds with the values of `rec`; `self` is the rowid of the record being
// changed (0 for a new one).
const KeyDef* RecordFile::duplicatedKey(const Record& rec, std::int64_t self) {
  for (const KeyDef& k : def_->keys) {
    if (!k.unique) continue;
    std::string sql = "SELECT 1 FROM " + quoted(def_->table) + " WHERE rowid<>?1";
    for (std::size_t i = 0; i < k.components.size(); ++i)
      sql += " AND " + quoted(def_->fields[k.components[i]].name) + "=?" + std::to_string(i + 2);
    if (k.excludeEmpty) sql += " AND " + keptByKey(*def_, k);
    Error e;
    Statement* st = store_.db().prepare(sql + " LIMIT 1", e);
    if (!st) return nullptr;
    st->bind(1, self);
    for (std::size_t i = 0; i < k.components.size(); ++i) bindField(st->raw(), static_cast<int>(i + 2), rec, k.components[i]);
    bool found = st->step() == SQLITE_ROW;
    st->reset();
    if (found) return &k;
  }
  return nullptr;
}

Error RecordFile::insert(Record& rec) { return write(rec, true, true); }
Error RecordFile::update(Record& rec) { return write(rec, false, true); }
Error RecordFile::add(Record& rec) { return write(rec, true, false); }
Error RecordFile::put(Record& rec) { return write(rec, false, false); }

namespace {

Error deleteRow(DataStore& store, const LabelDef& def, std::int64_t rowid) {
  Error e;
  Statement* st = store.db().prepare("DELETE FROM " + quoted(def.table) + " WHERE rowid=?1", e);
  if (!st) return e;
  st->bind(1, rowid);
  int rc = st->step();
  st->reset();
  if (rc != SQLITE_DONE) return store.db().lastError(rc);
  if (sqlite3_changes(store.db().handle()) == 0) return makeError(ErrorCode::RecordNotFound);
  store.touched(def.table);
  return ok();
}

// Deletes the children of `parent` in the order of the relation's key, each
// with its own children first, then the parent.
Error deleteCascading(DataStore& store, const Record& parent) {
  const LabelDef& base = *findLabel(parent.def().table);
  for (const RelationDef& rel : relations()) {
    if (rel.parent != base.label || !rel.cascadeDelete) continue;
    const LabelDef& child = *findLabel(rel.child);
    const KeyDef* key = child.key(rel.childKey);
    std::string sql = "SELECT " + selectList(child) + " FROM " + quoted(child.table) + " WHERE ";
    for (std::size_t i = 0; i < rel.childFields.size(); ++i)
      sql += (i ? " AND " : "") + quoted(child.fields[rel.childFields[i]].name) + "=?" + std::to_string(i + 1);
    sql += " ORDER BY " + componentList(child, *key) + ",rowid LIMIT 1";
    Record row(child);
    for (;;) {
      Error e;
      Statement* st = store.db().prepare(sql, e);
      if (!st) return e;
      for (std::size_t i = 0; i < rel.parentFields.size(); ++i)
        bindField(st->raw(), static_cast<int>(i + 1), parent, rel.parentFields[i]);
      int rc = st->step();
      if (rc == SQLITE_ROW) readRow(st->raw(), row);
      st->reset();
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) return store.db().lastError(rc);
      if ((e = deleteCascading(store, row))) return e;
    }
  }
  return deleteRow(store, base, parent.rowid);
}

}  // namespace

Error RecordFile::remove(const Record& rec) {
  if (Error e = requireOpen()) return e;
  if (rec.rowid == 0) return makeError(ErrorCode::RecordNotFound);
  Transaction tx(store_.db());
  if (tx.error()) return tx.error();
  if (Error e = deleteCascading(store_, rec)) return e;
  return tx.commit();
}

Error RecordFile::erase(const Record& rec) {
  if (Error e = requireOpen()) return e;
  if (rec.rowid == 0) return makeError(ErrorCode::RecordNotFound);
  return deleteRow(store_, *def_, rec.rowid);
}

std::int64_t RecordFile::count() {
  if (requireOpen()) return 0;
  Error e;
  Statement* st = store_.db().prepare("SELECT count(*) FROM " + quoted(def_->table), e);
  if (!st) return 0;
  std::int64_t n = st->step() == SQLITE_ROW ? st->int64(0) : 0;
  st->reset();
  return n;
}

namespace {

// The WHERE of a range: its fixed components, the key's empty rule and an
// optional comparison. `binds` collects (record, field or -1 for rowid).
std::string rangeWhere(const LabelDef& d, const KeyRange& range, std::vector<std::pair<const Record*, int>>& binds) {
  const KeyDef& k = *range.key;
  std::vector<std::string> parts;
  for (int i = 0; i < range.fixed && i < static_cast<int>(k.components.size()); ++i) {
    parts.push_back(quoted(d.fields[k.components[i]].name) + "=?");
    binds.emplace_back(&range.bounds, k.components[i]);
  }
  if (k.excludeEmpty) parts.push_back(keptByKey(d, k));
  std::string s;
  for (std::size_t i = 0; i < parts.size(); ++i) s += (i ? " AND " : "") + parts[i];
  return s;
}

// "(a,b) op (?,?)", or with the rowid "(a,b,rowid) op (?,?,?)".
std::string compareTo(const LabelDef& d, const KeyDef& k, const Record& at, bool withRowid, const char* op,
                      std::vector<std::pair<const Record*, int>>& binds) {
  std::string params;
  for (std::size_t i = 0; i < k.components.size(); ++i) {
    params += i ? ",?" : "?";
    binds.emplace_back(&at, k.components[i]);
  }
  std::string cols = componentList(d, k);
  if (withRowid) {
    params += ",?";
    cols += ",rowid";
    binds.emplace_back(&at, -1);
  }
  return "(" + cols + ") " + op + " (" + params + ")";
}

std::string joined(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return a + " AND " + b;
}

void bindAll(sqlite3_stmt* st, const std::vector<std::pair<const Record*, int>>& binds) {
  for (std::size_t i = 0; i < binds.size(); ++i) {
    auto [rec, field] = binds[i];
    if (field < 0)
      sqlite3_bind_int64(st, static_cast<int>(i + 1), rec->rowid);
    else
      bindField(st, static_cast<int>(i + 1), *rec, field);
  }
}

}  // namespace

Error RecordFile::count(const KeyRange& range, std::int64_t& n) {
  n = 0;
  if (Error e = requireOpen()) return e;
  if (!range.key) return makeError(ErrorCode::UnknownKey);
  std::vector<std::pair<const Record*, int>> binds;
  std::string where = rangeWhere(*def_, range, binds);
  Error e;
  Statement* st = store_.db().prepare(
      "SELECT count(*) FROM " + quoted(def_->table) + (where.empty() ? "" : " WHERE " + where), e);
  if (!st) return e;
  bindAll(st->raw(), binds);
  int rc = st->step();
  if (rc == SQLITE_ROW) n = st->int64(0);
  st->reset();
  return rc == SQLITE_ROW ? ok() : translate(rc);
}

Error RecordFile::rank(const KeyRange& range, const Record& at, std::int64_t& n) {
  n = 0;
  if (Error e = requireOpen()) return e;
  if (!range.key) return makeError(ErrorCode::UnknownKey);
  std::vector<std::pair<const Record*, int>> binds;
  std::string where = rangeWhere(*def_, range, binds);
  where = joined(where, compareTo(*def_, *range.key, at, false, "<", binds));
  Error e;
  Statement* st = store_.db().prepare("SELECT count(*) FROM " + quoted(def_->table) + " WHERE " + where, e);
  if (!st) return e;
  bindAll(st->raw(), binds);
  int rc = st->step();
  if (rc == SQLITE_ROW) n = st->int64(0);
  st->reset();
  return rc == SQLITE_ROW ? ok() : translate(rc);
}

Error RecordFile::readAt(const KeyRange& range, std::int64_t offset, int n, bool fromEnd, std::vector<Record>& out) {
  return rangeRead(range, nullptr, !fromEnd, offset, n, out);
}

Error RecordFile::readNear(const KeyRange& range, const Record& from, bool forward, int n, std::vector<Record>& out) {
  return rangeRead(range, &from, forward, 0, n, out);
}

Error RecordFile::rangeRead(const KeyRange& range, const Record* from, bool forward, std::int64_t offset, int n,
                            std::vector<Record>& out) {
  out.clear();
  if (Error e = requireOpen()) return e;
  if (!range.key) return makeError(ErrorCode::UnknownKey);
  if (n <= 0 || offset < 0) return ok();
  std::vector<std::pair<const Record*, int>> binds;
  std::string where = rangeWhere(*def_, range, binds);
  if (from) {
    bool record = from->rowid != 0;
    const char* op = record ? (forward ? ">" : "<") : (forward ? ">=" : "<");
    where = joined(where, compareTo(*def_, *range.key, *from, record, op, binds));
  }
  const char* dir = forward ? "" : " DESC";
  std::string sql = "SELECT " + selectList(*def_) + " FROM " + quoted(def_->table) +
                    (where.empty() ? "" : " WHERE " + where) + " ORDER BY " + componentList(*def_, *range.key, dir) +
                    ",rowid" + dir + " LIMIT " + std::to_string(n) + " OFFSET " + std::to_string(offset);
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(store_.db().handle(), sql.c_str(), -1, &st, nullptr);
  if (rc != SQLITE_OK) return translate(rc);
  bindAll(st, binds);
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    Record r(*def_);
    readRow(st, r);
    out.push_back(std::move(r));
  }
  sqlite3_finalize(st);
  if (rc != SQLITE_DONE) {
    out.clear();
    return translate(rc);
  }
  if (!forward) std::reverse(out.begin(), out.end());
  return ok();
}

Error RecordFile::empty() {
  if (Error e = requireOpen()) return e;
  if (mode_ != OpenMode::Exclusive)
    return makeError(ErrorCode::FileLocked, def_->diskName + " must be opened exclusively to be emptied");
  if (Error e = store_.db().exec("DELETE FROM " + quoted(def_->table))) return e;
  store_.touched(def_->table);
  return ok();
}

Error countRecords(DataStore& store, const LabelDef& def, std::int64_t& count) {
  count = 0;
  Error e;
  Statement* st = store.db().prepare("SELECT count(*) FROM " + quoted(def.table), e);
  if (!st) return e;
  int rc = st->step();
  if (rc == SQLITE_ROW) count = st->int64(0);
  st->reset();
  return rc == SQLITE_ROW ? ok() : store.db().lastError(rc);
}

}  // namespace kdm
