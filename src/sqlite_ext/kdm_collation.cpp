// KDM_HR, the collation of every text column and key of kdm.db, as a
// loadable SQLite extension. Without it no other SQLite client can check,
// query or change the store's indexes; with it the sqlite3 shell can:
//   sqlite3 kdm.db '.load build/kdm_collation' 'pragma integrity_check'
// The comparison is the program's own (platform/text.cpp is built into
// the module), so indexes written by kdm and by the shell agree.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

#include <cstddef>
#include <string_view>

#include "platform/text.h"

namespace {

int compare(void*, int lenA, const void* a, int lenB, const void* b) {
  return kdm::collate(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lenA)),
                      std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lenB)));
}

}  // namespace

// The entry point SQLite derives from the file name kdm_collation.so.
extern "C" __attribute__((visibility("default"))) int sqlite3_kdmcollation_init(sqlite3* db, char** error,
                                                                                const sqlite3_api_routines* api) {
  SQLITE_EXTENSION_INIT2(api);
  int rc = sqlite3_create_collation_v2(db, "KDM_HR", SQLITE_UTF8, nullptr, compare, nullptr);
  if (rc != SQLITE_OK && error) *error = sqlite3_mprintf("cannot register KDM_HR: %s", sqlite3_errstr(rc));
  return rc;
}
