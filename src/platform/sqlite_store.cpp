#include "platform/sqlite_store.h"

#include <filesystem>

#include "platform/text.h"

namespace kdm {
namespace {

int collateCallback(void*, int lenA, const void* a, int lenB, const void* b) {
  return collate(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lenA)),
                 std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lenB)));
}

}  // namespace

Error Database::lastError(int rc) const {
  std::string text = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
  switch (rc & 0xFF) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return makeError(ErrorCode::NotADatabase, std::string(errorText(ErrorCode::NotADatabase)) + " (" + path_ + ")");
    case SQLITE_CANTOPEN:
      return makeError(ErrorCode::FileNotFound, "Cannot open " + path_ + ": " + text);
    case SQLITE_READONLY:
    case SQLITE_PERM:
      return makeError(ErrorCode::AccessDenied, "Access denied: " + path_ + ": " + text);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return makeError(ErrorCode::FileLocked, "The data file is in use by another program: " + path_);
    case SQLITE_FULL:
    case SQLITE_IOERR:
      return makeError(ErrorCode::WriteError, "Cannot write " + path_ + ": " + text);
    default:
      return makeError(ErrorCode::DatabaseError, std::string(errorText(ErrorCode::DatabaseError)) + ": " + text);
  }
}

Error Database::open(const std::string& path, Mode mode, std::unique_ptr<Database>& out) {
  std::unique_ptr<Database> db(new Database());
  db->path_ = path;
  int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY
              : mode == Mode::Create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                     : SQLITE_OPEN_READWRITE;
  int rc = sqlite3_open_v2(path.c_str(), &db->db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) return db->lastError(rc);
  sqlite3_extended_result_codes(db->db_, 0);
  sqlite3_busy_timeout(db->db_, 5000);
  sqlite3_create_collation_v2(db->db_, "KDM_HR", SQLITE_UTF8, nullptr, collateCallback, nullptr);
  // Reading the schema tells a damaged or foreign file at once.
  Error e = db->exec("SELECT count(*) FROM sqlite_master");
  if (e) return e;
  // Before the journal mode is set: that alone would write to the file.
  if ((e = db->checkIdentity(mode))) return e;
  if (mode != Mode::ReadOnly) {
    if ((e = db->exec("PRAGMA journal_mode=WAL"))) return e;
    if ((e = db->exec("PRAGMA synchronous=FULL"))) return e;
    if ((e = db->exec("PRAGMA foreign_keys=OFF"))) return e;
  }
  out = std::move(db);
  return ok();
}

Error Database::pragmaValue(const char* name, std::int64_t& value) {
  sqlite3_stmt* stmt = nullptr;
  std::string sql = std::string("PRAGMA ") + name;
  int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr);
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
      value = sqlite3_column_int64(stmt, 0);
      rc = SQLITE_OK;
    }
  }
  sqlite3_finalize(stmt);
  return rc == SQLITE_OK ? ok() : lastError(rc);
}

Error Database::checkIdentity(Mode mode) {
  std::int64_t applicationId = 0, version = 0, objects = 0;
  if (Error e = pragmaValue("application_id", applicationId)) return e;
  if (Error e = pragmaValue("user_version", version)) return e;
  {
    Error e;
    Statement* s = prepare("SELECT count(*) FROM sqlite_master", e);
    if (!s) return e;
    int rc = s->step();
    if (rc != SQLITE_ROW) return lastError(rc);
    objects = s->int64(0);
    s->reset();
  }
  const std::string refused = "Not a kdm data store: " + path_;
  if (applicationId == kApplicationId) {
    if (version > kSchemaVersion)
      return makeError(ErrorCode::NotADatabase, "The data store " + path_ +
                                                    " was made by a newer version of kdm (store version " +
                                                    std::to_string(version) + ", this program knows up to " +
                                                    std::to_string(kSchemaVersion) + "); it was left unchanged");
    needsMark_ = version < kSchemaVersion && mode != Mode::ReadOnly;
    return ok();
  }
  if (applicationId == 0 && version == 0) {
    if (objects == 0) {
      // An empty file, or a database with nothing in it: only kdm init
      // makes a store of it.
      if (mode == Mode::Create) {
        needsMark_ = true;
        return ok();
      }
      std::error_code ec;
      bool zeroLength = std::filesystem::file_size(path_, ec) == 0 && !ec;
      return makeError(ErrorCode::NotADatabase, refused + (zeroLength ? " is an empty file" : " is an empty database") +
                                                    " (kdm init creates the store)");
    }
    // Made by kdm before stores were marked: it holds our parameters and
    // obligors.
    if (tableExists("APLPARAM") && tableExists("TBPOSLOD")) {
      needsMark_ = mode != Mode::ReadOnly;
      return ok();
    }
  }
  return makeError(ErrorCode::NotADatabase, refused + " is a database of another program; it was left unchanged");
}

Error Database::mark() {
  if (Error e = exec("PRAGMA application_id=" + std::to_string(kApplicationId))) return e;
  if (Error e = exec("PRAGMA user_version=" + std::to_string(kSchemaVersion))) return e;
  needsMark_ = false;
  return ok();
}

Database::~Database() {
  statements_.clear();
  if (db_) sqlite3_close_v2(db_);
}

Error Database::exec(const std::string& sql) {
  char* msg = nullptr;
  int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &msg);
  sqlite3_free(msg);
  if (rc != SQLITE_OK) return lastError(rc);
  return ok();
}

Statement* Database::prepare(const std::string& sql, Error& error) {
  auto it = statements_.find(sql);
  if (it != statements_.end()) {
    it->second->reset();
    return it->second.get();
  }
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
  if (rc != SQLITE_OK) {
    error = lastError(rc);
    sqlite3_finalize(stmt);
    return nullptr;
  }
  auto& slot = statements_[sql];
  slot = std::make_unique<Statement>(stmt);
  return slot.get();
}

bool Database::tableExists(const std::string& table) {
  Error e;
  Statement* s = prepare("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1", e);
  if (!s) return false;
  s->bind(1, table);
  bool found = s->step() == SQLITE_ROW;
  s->reset();
  return found;
}

Error Database::begin() {
  Error e = depth_ == 0 ? exec("BEGIN IMMEDIATE") : exec("SAVEPOINT kdm" + std::to_string(depth_));
  if (!e) ++depth_;
  return e;
}

Error Database::commit() {
  if (depth_ == 0) return ok();
  --depth_;
  Error e = depth_ == 0 ? exec("COMMIT") : exec("RELEASE kdm" + std::to_string(depth_));
  if (e && depth_ == 0) exec("ROLLBACK");
  return e;
}

void Database::rollback() {
  if (depth_ == 0) return;
  --depth_;
  ++rollbacks_;
  if (depth_ == 0) {
    exec("ROLLBACK");
  } else {
    std::string name = "kdm" + std::to_string(depth_);
    exec("ROLLBACK TO " + name);
    exec("RELEASE " + name);
  }
}

Error Database::acquire(const std::string& table, bool exclusive, const void* owner) {
  LockState& lock = locks_[table];
  bool others = false;
  for (auto& [who, count] : lock.shared)
    if (who != owner && count > 0) others = true;
  if ((lock.exclusive && lock.exclusive != owner) || (exclusive && others))
    return makeError(ErrorCode::FileLocked, std::string(errorText(ErrorCode::FileLocked)) + ": " + table);
  if (exclusive) {
    if (lock.exclusive != owner)
      if (Error e = hold(table)) return e;
    lock.exclusive = owner;
  } else {
    ++lock.shared[owner];
  }
  return ok();
}

Error Database::hold(const std::string& name) {
  if (!directoryLocks_)
    directoryLocks_ = std::make_unique<DirectoryLocks>(std::filesystem::path(path_).parent_path().string());
  return directoryLocks_->lock(name);
}

void Database::letGo(const std::string& name) {
  if (directoryLocks_) directoryLocks_->unlock(name);
}

void Database::release(const std::string& table, const void* owner) {
  auto it = locks_.find(table);
  if (it == locks_.end()) return;
  if (it->second.exclusive == owner) {
    it->second.exclusive = nullptr;
    letGo(table);
  }
  auto s = it->second.shared.find(owner);
  if (s != it->second.shared.end() && --s->second <= 0) it->second.shared.erase(s);
}

}  // namespace kdm
