// The delivered code tables, compiled into the program from seed/*.csv,
// and the creation of a data directory that holds them.
#pragma once

#include <string>
#include <vector>

#include "data/record_layer.h"

namespace kdm::seed {

struct SeedFile {
  const char* label;
  const char* csv;
};

// Generated at build time from src/data/seed/*.csv.
const std::vector<SeedFile>& files();

}  // namespace kdm::seed

namespace kdm {

struct InitResult {
  bool created = false;                // kdm.db did not exist before
  std::vector<std::string> filled;     // labels filled with their seed, "LABEL (N)"
};

// Creates the data directory's kdm.db with every table when missing and
// fills each delivered table that is empty. Running it again changes
// nothing: tables that hold records are left as they are. A kdm.db that
// is not a kdm store is refused and left unchanged.
Error initDataDirectory(const std::string& dir, InitResult& result);

}  // namespace kdm
