#include "platform/regular_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/hash.h"
#include "temp_dir.h"

namespace kdm {

TEST(RegularFile, OnlyRegularFilesAreRead) {
  test::TempDir dir;
  const std::string file = dir.file("a.txt"), link = dir.file("link"), fifo = dir.file("fifo");
  std::ofstream(file) << "abc";
  std::filesystem::create_symlink(file, link);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  struct {
    std::string path, text;  // empty text: accepted
  } cases[] = {
      {file, ""},
      {link, ""},
      {dir.file("missing"), "File not found: " + dir.file("missing")},
      {dir.path(), dir.path() + " is a directory, not a regular file"},
      {fifo, fifo + " is a FIFO, not a regular file"},
      {"/dev/zero", "/dev/zero is a device, not a regular file"},
  };
  for (const auto& c : cases) {
    Error e = requireRegularFile(c.path);
    EXPECT_EQ(e.text, c.text) << c.path;
    if (e) EXPECT_EQ(e.kind(), ErrorCode::FileNotFound) << c.path;
  }
  // Hashing a FIFO or a device ends at once instead of waiting or reading forever.
  for (const std::string& path : {fifo, std::string("/dev/zero")}) {
    std::string error;
    EXPECT_FALSE(doSHAOnFile(path, &error)) << path;
    EXPECT_EQ(error, requireRegularFile(path).text);
  }
}

}  // namespace kdm
