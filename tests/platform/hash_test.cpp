#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/hash.h"
#include "temp_dir.h"

namespace kdm {

TEST(Hash, Sha1OfTheFileBytesInUpperCaseHex) {
  test::TempDir dir;
  std::string p = dir.file("abc.txt");
  std::ofstream(p, std::ios::binary) << "abc";
  EXPECT_EQ(doSHAOnFile(p), "A9993E364706816ABA3E25717850C26C9CD0D89D");
  std::string copy = dir.file("copy.txt");
  ASSERT_FALSE(copyFileReplacing(p, copy));
  EXPECT_EQ(doSHAOnFile(copy), doSHAOnFile(p));
  std::string error;
  EXPECT_FALSE(doSHAOnFile(dir.file("missing"), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(doSHAOnFile(dir.path()));  // a directory cannot be hashed
}

TEST(Hash, ControlNumberGroupsOfTen) {
  EXPECT_EQ(controlNumber("A9993E364706816ABA3E25717850C26C9CD0D89D"),
            "A9993E3647-06816ABA3E-25717850C2-6C9CD0D89D");
  EXPECT_EQ(controlNumber("ABCDEFGHIJKLMNO"), "ABCDEFGHIJ-KLMNO--");
  EXPECT_EQ(controlNumber(""), "---");
}

TEST(Files, CopyReplacesAndReportsAMissingSource) {
  test::TempDir dir;
  std::string from = dir.file("from"), to = dir.file("to");
  std::ofstream(from) << "new";
  std::ofstream(to) << "old contents";
  ASSERT_FALSE(copyFileReplacing(from, to));
  std::ifstream in(to);
  std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(text, "new");
  EXPECT_EQ(copyFileReplacing(dir.file("none"), to).kind(), ErrorCode::FileNotFound);
  EXPECT_TRUE(fileExists(to));
  EXPECT_FALSE(fileExists(to + ".kdmtmp"));
}

}  // namespace kdm
