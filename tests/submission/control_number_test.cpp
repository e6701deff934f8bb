#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/records.h"
#include "platform/hash.h"
#include "submission/control_number.h"
#include "temp_dir.h"

namespace kdm {
namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
void spit(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST(SubmissionControlNumber, IsStoredInTheFormsPageA) {
  test::EmptyStore s;
  {
    File<TBOBRAZA> a(*s.store);
    ASSERT_FALSE(a.open());
    a.rec.IDENTIFIKATOR = "001507";
    a.rec.KONVEZA = "001507 01";
    a.rec.NAZIV = "Obrt";
    ASSERT_FALSE(a.add());
  }
  CollectingReporter out;
  const std::string hash = "0123456789ABCDEF0123456789ABCDEF01234567";
  EXPECT_TRUE(storeControlNumber(*s.store, out, "001507 01", "001507 ", hash));
  EXPECT_TRUE(out.messages.empty());
  File<TBOBRAZA> a(*s.store);
  ASSERT_FALSE(a.open());
  a.rec.KONVEZA = "001507 01";
  ASSERT_FALSE(a.get("KEYIDENTIKATOR"));
  EXPECT_EQ(a.rec.KONZNAK, "0123456789-ABCDEF0123-456789ABCD-EF01234567");
  EXPECT_EQ(a.rec.NAZIV, "Obrt");

  EXPECT_FALSE(storeControlNumber(*s.store, out, "001508 01", "001508 ", hash));
  EXPECT_EQ(out.messages, std::vector<std::string>{"Greška kod ažuriranja SHA broja (1)=001508 "});
}

class SubmissionCopyToMedium : public testing::Test {
 protected:
  test::TempDir dir;
  CollectingReporter out;
  std::string source = dir.file("F0015007.TXT");
  std::string medium = dir.file("medij");
  std::string destination = medium + "/VALTA.RM0";

  void SetUp() override {
    spit(source, "the formed file\r\n");
    std::filesystem::create_directory(medium);
  }
};

TEST_F(SubmissionCopyToMedium, ReplacesWhatIsThereWithoutAsking) {
  spit(destination, "an older and much longer delivery of another month\r\n");
  EXPECT_TRUE(copyToMedium(source, destination, out));
  EXPECT_TRUE(out.messages.empty());
  EXPECT_EQ(slurp(destination), "the formed file\r\n");
  EXPECT_EQ(doSHAOnFile(destination), doSHAOnFile(source));  // the same control number

  EXPECT_TRUE(copyToMedium(source, dir.file("new.RM0"), out));  // nothing there before
  EXPECT_EQ(slurp(dir.file("new.RM0")), "the formed file\r\n");
}

TEST_F(SubmissionCopyToMedium, FailuresAreReportedAndLoseNothing) {
  spit(destination, "the delivery on the medium\r\n");
  std::string missing = dir.file("F0015008.TXT");
  EXPECT_FALSE(copyToMedium(missing, destination, out));
  EXPECT_EQ(out.messages, std::vector<std::string>{"Greška, file: " + missing + " " + destination +
                                                   " Error=File not found: " + missing});
  EXPECT_EQ(slurp(destination), "the delivery on the medium\r\n");

  // A medium that is not there.
  out.messages.clear();
  std::string nowhere = dir.file("nema/VALTA.RM0");
  EXPECT_FALSE(copyToMedium(source, nowhere, out));
  ASSERT_EQ(out.messages.size(), 1u);
  EXPECT_EQ(out.messages[0].rfind("Greška, file: " + source + " " + nowhere + " Error=", 0), 0u);

  // A folder is not deleted to make room.
  out.messages.clear();
  EXPECT_FALSE(copyToMedium(source, medium, out));
  EXPECT_EQ(out.messages, std::vector<std::string>{"Greška, file: " + source + " " + medium + " Error=Is a directory"});
  EXPECT_EQ(slurp(destination), "the delivery on the medium\r\n");

  // The source named as its own destination stays as it is.
  out.messages.clear();
  EXPECT_TRUE(copyToMedium(source, dir.path() + "/./F0015007.TXT", out));
  EXPECT_TRUE(out.messages.empty());
  EXPECT_EQ(slurp(source), "the formed file\r\n");
}

TEST_F(SubmissionCopyToMedium, TheFileToCopyMustExist) {
  EXPECT_TRUE(copySourceExists(source, out));
  EXPECT_TRUE(out.messages.empty());
  std::filesystem::remove(source);
  EXPECT_FALSE(copySourceExists(source, out));
  EXPECT_FALSE(copySourceExists(medium, out));  // a directory is no file to copy
  EXPECT_EQ(out.messages, (std::vector<std::string>{"File: " + source + " nije pronađen",
                                                    "File: " + medium + " nije pronađen"}));
}

}  // namespace
}  // namespace kdm
