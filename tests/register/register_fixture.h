// A delivered data directory (code tables, rates, control matrix, the
// parameters record) with today fixed in 2005, for the register tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "app/globals.h"
#include "data/record_layer.h"
#include "data/records.h"
#include "data/seed.h"
#include "platform/report.h"
#include "temp_dir.h"

namespace kdm::test {

// Valid identity numbers: MBs by their first digit, an MBG of 1 January 1990.
inline constexpr const char* kMb1 = "12345679";
inline constexpr const char* kMb3 = "31234569";
inline constexpr const char* kMb8 = "81234562";
inline constexpr const char* kMb9 = "91234565";
inline constexpr const char* kMbg = "0101990330000";
inline constexpr const char* kMbg2 = "1503985335015";

inline Decimal dec(const char* text) { return *Decimal::parse(text); }

class RegisterStore : public testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<DataStore> store;
  Globals GLO;
  CollectingReporter out;

  void SetUp() override {
    setenv("KDM_TODAY", "2005-06-15", 1);
    InitResult result;
    ASSERT_FALSE(initDataDirectory(dir.path(), result));
    ASSERT_FALSE(DataStore::open(dir.path(), false, store));
  }
  void TearDown() override { unsetenv("KDM_TODAY"); }

  template <class T>
  std::vector<T> all(const std::string& key) {
    File<T> f(*store);
    EXPECT_FALSE(f.open());
    std::vector<T> rows;
    EXPECT_FALSE(f.setStart(key));
    while (!f.next()) rows.push_back(f.rec);
    return rows;
  }
};

}  // namespace kdm::test
