#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "data/records.h"
#include "data/seed.h"
#include "app/parameters.h"
#include "temp_dir.h"

namespace kdm {
namespace {

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Plain SQLite, as another program (or an older kdm) would leave the file.
void sql(const std::string& path, const char* statements) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, statements, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

std::int64_t pragma(const std::string& path, const char* name) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, (std::string("PRAGMA ") + name).c_str(), -1, &st, nullptr);
  std::int64_t value = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
  sqlite3_finalize(st);
  sqlite3_close(db);
  return value;
}

void initStore(const std::string& dir) {
  InitResult r;
  ASSERT_FALSE(initDataDirectory(dir, r));
}

struct Case {
  const char* name;
  std::function<void(const std::string& dir, const std::string& db)> make;
  const char* refusal;  // part of the refusal of every command; nullptr: opened
  bool initRefuses;
};

const std::vector<Case>& cases() {
  static const std::vector<Case> all = {
      {"zero-length file", [](auto&, auto& db) { std::ofstream(db, std::ios::binary); },
       " is an empty file (kdm init creates the store)", false},
      {"plain text",
       [](auto&, auto& db) {
         std::ofstream(db, std::ios::binary) << "KONZNAK;IDENTIFIKATOR\n"
                                                "1234567890;001500101\n";
       },
       "damaged or not a database", true},
      {"another program's database",
       [](auto&, auto& db) { sql(db, "CREATE TABLE notes (t TEXT); INSERT INTO notes VALUES ('mine');"); },
       " is a database of another program; it was left unchanged", true},
      // Our table names do not make a database ours when another program marked it.
      {"another program's id on our tables",
       [](auto&, auto& db) {
         sql(db,
             "PRAGMA application_id=7; CREATE TABLE APLPARAM (RB INTEGER); CREATE TABLE TBPOSLOD (REDBROJ INTEGER);");
       },
       " is a database of another program; it was left unchanged", true},
      {"store of a newer kdm",
       [](auto& dir, auto& db) {
         initStore(dir);
         sql(db, "PRAGMA user_version=2;");
       },
       "was made by a newer version of kdm (store version 2, this program knows up to 1)", true},
      {"store made before stores were marked",
       [](auto& dir, auto& db) {
         initStore(dir);
         sql(db, "PRAGMA application_id=0; PRAGMA user_version=0;");
       },
       nullptr, false},
  };
  return all;
}

TEST(StoreIdentity, CommandsOpenOnlyKdmStoresAndChangeNothingElse) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const std::string db = dir.file(Database::kFileName);
    c.make(dir.path(), db);
    const std::string before = bytesOf(db);
    std::unique_ptr<DataStore> store;
    Error e = DataStore::open(dir.path(), false, store);
    if (c.refusal) {
      EXPECT_EQ(e.kind(), ErrorCode::NotADatabase);
      EXPECT_NE(e.text.find(db), std::string::npos) << e.text;
      EXPECT_NE(e.text.find(c.refusal), std::string::npos) << e.text;
      store.reset();
      EXPECT_EQ(bytesOf(db), before);
      continue;
    }
    ASSERT_FALSE(e) << e.text;
    // Its records are the same; from now on it carries the mark.
    APLPARAM apl;
    ASSERT_TRUE(readParameters(*store, apl));
    EXPECT_EQ(apl.JMBG, "1111111111111");
    store.reset();
    EXPECT_EQ(pragma(db, "application_id"), Database::kApplicationId);
    EXPECT_EQ(pragma(db, "user_version"), Database::kSchemaVersion);
  }
}

TEST(StoreIdentity, InitMakesAStoreOfNothingButNeverTouchesAForeignFile) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const std::string db = dir.file(Database::kFileName);
    c.make(dir.path(), db);
    const std::string before = bytesOf(db);
    InitResult r;
    Error e = initDataDirectory(dir.path(), r);
    if (c.initRefuses) {
      EXPECT_TRUE(e);
      EXPECT_EQ(bytesOf(db), before);
      continue;
    }
    ASSERT_FALSE(e) << e.text;
    EXPECT_EQ(pragma(db, "application_id"), Database::kApplicationId);
    EXPECT_EQ(pragma(db, "user_version"), Database::kSchemaVersion);
    std::unique_ptr<DataStore> store;
    ASSERT_FALSE(DataStore::open(dir.path(), false, store));
    File<TBOPCINE> opc(*store);
    ASSERT_FALSE(opc.open());
    EXPECT_EQ(opc.count(), 556);
  }
}

}  // namespace
}  // namespace kdm
