// The keyed store: one SQLite database file, kdm.db, per data directory.
//
// Every keyed label of the catalogue is a table of that file; keys are
// indexes. Text columns use the collation KDM_HR (case-insensitive,
// Croatian letters included) so that unique indexes, equality and key
// order all ignore letter case. Foreign keys are off: the record layer
// applies the relations itself. The journal is WAL with synchronous=FULL.
//
// A kdm store is marked: our application_id, and the version of its schema
// in user_version. Opening checks the mark before anything is written, so a
// file that is not ours (empty, not SQLite, another program's database, a
// store of a newer kdm) is refused unchanged. Stores made before the mark
// existed are recognised by their tables and marked when next opened for
// writing.
//
// "Exclusive" opening of a label is a lock held by one window's handle: in
// the process by the table of owners below, and against other processes
// and other connections by a DirectoryLocks lock taken with it. Shared
// opens take no lock between processes: SQLite gives every reader a
// consistent snapshot and serialises writers. Every multi-record change
// runs in a Transaction, which rolls back unless committed; nested
// transactions become savepoints.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/errors.h"
#include "platform/file_lock.h"

namespace kdm {

class Statement {
 public:
  explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(stmt_); }

  void reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  void bind(int index, std::int64_t value) { sqlite3_bind_int64(stmt_, index, value); }
  void bind(int index, std::string_view text) {
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int step() { return sqlite3_step(stmt_); }
  std::int64_t int64(int col) const { return sqlite3_column_int64(stmt_, col); }
  std::string_view text(int col) const {
    auto p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col))) : std::string_view{};
  }
  sqlite3_stmt* raw() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_;
};

class Database {
 public:
  enum class Mode { OpenExisting, Create, ReadOnly };
  static constexpr const char* kFileName = "kdm.db";
  // PRAGMA application_id of every kdm store ("KDMH").
  static constexpr std::int32_t kApplicationId = 0x4B444D48;
  // PRAGMA user_version: the schema this program creates and reads.
  static constexpr std::int32_t kSchemaVersion = 1;

  // Opens `path`; checks that it is a readable database and a kdm store.
  // Only Create accepts an empty file or an empty database (a new store).
  static Error open(const std::string& path, Mode mode, std::unique_ptr<Database>& out);
  // True when the store is ours but not (yet) marked with this schema
  // version: a new store, or one made before stores were marked.
  bool needsMark() const { return needsMark_; }
  // Writes the mark; inside the transaction that creates the schema.
  Error mark();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  sqlite3* handle() const { return db_; }
  const std::string& path() const { return path_; }

  Error exec(const std::string& sql);
  // A prepared statement kept for the life of the database; reset before use.
  Statement* prepare(const std::string& sql, Error& error);
  // The error of the last failed call, with the store's text.
  Error lastError(int rc) const;
  bool tableExists(const std::string& table);

  // Transactions, nested as savepoints.
  Error begin();
  Error commit();
  void rollback();
  int depth() const { return depth_; }
  // Rollbacks so far: open cursors re-read after one.
  std::uint64_t rollbacks() const { return rollbacks_; }

  // Open locks per table. `owner` identifies the handle. An exclusive open
  // also holds the table's name against other connections and processes.
  Error acquire(const std::string& table, bool exclusive, const void* owner);
  void release(const std::string& table, const void* owner);
  // Holds a file's name (a table or a text file of the data directory)
  // against other connections and processes; counted, so holders nest.
  Error hold(const std::string& name);
  void letGo(const std::string& name);

 private:
  Database() = default;
  // Refuses a file that is not a kdm store of a version we know.
  Error checkIdentity(Mode mode);
  // The integer value of a read-only pragma, e.g. "application_id".
  Error pragmaValue(const char* name, std::int64_t& value);

  struct LockState {
    std::map<const void*, int> shared;  // owners with a shared open
    const void* exclusive = nullptr;
  };

  sqlite3* db_ = nullptr;
  std::string path_;
  int depth_ = 0;
  bool needsMark_ = false;
  std::uint64_t rollbacks_ = 0;
  std::unordered_map<std::string, std::unique_ptr<Statement>> statements_;
  std::map<std::string, LockState> locks_;
  std::unique_ptr<DirectoryLocks> directoryLocks_;
};

// Rolls back unless committed.
class Transaction {
 public:
  explicit Transaction(Database& db) : db_(db) { error_ = db_.begin(); }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction() {
    if (!done_ && !error_) db_.rollback();
  }
  const Error& error() const { return error_; }
  Error commit() {
    done_ = true;
    return db_.commit();
  }
  void rollback() {
    if (!done_ && !error_) db_.rollback();
    done_ = true;
  }

 private:
  Database& db_;
  Error error_;
  bool done_ = false;
};

}  // namespace kdm
