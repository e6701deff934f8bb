#include "submission/store_check.h"

#include <gtest/gtest.h>

#include <fstream>

#include "data/records.h"
#include "forms/form_creation.h"
#include "platform/hash.h"
#include "temp_dir.h"

namespace kdm {
namespace {

// Every shape of identifier form creation builds finds its own copy: the
// sequence has two or three digits, and a year ending in 9 makes the
// identifiers of obligor types 30/31 look like three-digit ones.
TEST(StoreCheck, FindsTheOwnCopyOfEveryKindOfIdentifier) {
  struct Case {
    int obligor;
    const char* type;
    const char* jmbg;
    int year, sequence;
  } cases[] = {
      {1, "01", "0000000000000", 2005, 1},  {2, "30", "0000000000000", 2009, 1},   {3, "31", "0000000000000", 2005, 57},
      {4, "02", "1234567890125", 2005, 12}, {5, "01", "0000000000000", 2009, 901},
  };
  test::EmptyStore s;
  File<TBOBRAZA> a(*s.store);
  ASSERT_FALSE(a.open());
  for (const Case& c : cases) {
    // IZLAZDIR is blank: the copies lie in the data directory.
    const std::string copy = s.dir.file(submissionCopyName(c.obligor, c.year, c.sequence));
    std::ofstream(copy, std::ios::binary) << "form of obligor " << c.obligor << "\r\n";
    a.clear();
    a.rec.IDENTIFIKATOR = "00" + std::to_string(c.obligor) + identifierSuffix(c.type, c.jmbg, c.year, c.sequence);
    a.rec.VRSUPLA = "01";
    a.rec.KONVEZA = a.rec.IDENTIFIKATOR + "01";
    a.rec.OBRGOD = std::to_string(c.year);
    a.rec.VRSTOBVEZNIKA = c.type;
    a.rec.JMBG = c.jmbg;
    a.rec.KONZNAK = controlNumber(*doSHAOnFile(copy));
    ASSERT_FALSE(a.add());
  }
  StoreCheckResult clean = checkStore(*s.store);
  EXPECT_EQ(clean.forms, 5);
  EXPECT_TRUE(clean.findings.empty()) << clean.findings.front();

  // A copy that no longer matches: a note while the form is not listed (it
  // may have gone out in an earlier collective file), a finding once it is.
  const std::string changedCopy = s.dir.file("F0029001.TXT");
  std::ofstream(changedCopy, std::ios::app) << "changed\r\n";
  StoreCheckResult unlisted = checkStore(*s.store);
  EXPECT_TRUE(unlisted.findings.empty());
  ASSERT_EQ(unlisted.notes.size(), 1u);
  File<TBTMPDAT> list(*s.store);
  ASSERT_FALSE(list.open());
  list.rec.IDENTIFIKATOR = "002990101";
  list.rec.IMEFILE = changedCopy;
  ASSERT_FALSE(list.insert());
  StoreCheckResult changed = checkStore(*s.store);
  ASSERT_EQ(changed.findings.size(), 1u);
  EXPECT_EQ(changed.findings[0].rfind("Form 002990101: control number ", 0), 0u) << changed.findings[0];
  EXPECT_NE(changed.findings[0].find("F0029001.TXT: differs"), std::string::npos) << changed.findings[0];
}

}  // namespace
}  // namespace kdm
