#include <gtest/gtest.h>

#include <fstream>

#include "platform/textfile.h"
#include "temp_dir.h"

namespace kdm {

static void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

static std::vector<std::string> readAll(const std::string& path) {
  TextFile f;
  EXPECT_FALSE(f.openRead(path));
  std::vector<std::string> lines;
  std::string line;
  while (f.readLine(line)) lines.push_back(line);
  return lines;
}

TEST(TextFile, LineEndsOfEveryKind) {
  test::TempDir dir;
  std::string p = dir.file("a.txt");
  writeBytes(p, std::string("one\r\ntwo\nthree\r\n\r\nlast") + std::string("\0x", 2));
  EXPECT_EQ(readAll(p), (std::vector<std::string>{"one", "two", "three", "", std::string("last\0x", 6)}));
  writeBytes(p, "");
  EXPECT_TRUE(readAll(p).empty());
}

TEST(TextFile, OverlongLineIsCutNotHeld) {
  test::TempDir dir;
  std::string p = dir.file("long.txt");
  writeBytes(p, std::string(TextFile::kMaxLine * 3, 'x') + "\r\nnext\r\n");
  TextFile f;
  ASSERT_FALSE(f.openRead(p));
  std::string line;
  ASSERT_TRUE(f.readLine(line));
  EXPECT_EQ(line.size(), TextFile::kMaxLine);
  EXPECT_TRUE(f.lastLineCut());
  ASSERT_TRUE(f.readLine(line));
  EXPECT_EQ(line, "next");
  EXPECT_FALSE(f.readLine(line));
}

TEST(TextFile, AppendsCp1250WithCrLfAndCreatesMissingFiles) {
  test::TempDir dir;
  std::string p = dir.file("out.txt");
  TextFile f;
  ASSERT_FALSE(f.openAppend(p));
  ASSERT_FALSE(f.appendLine("Čakovec"));
  EXPECT_EQ(f.appendLine("日本").kind(), ErrorCode::NotEncodable);
  ASSERT_FALSE(f.close());
  std::ifstream in(p, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(bytes, "\xC8" "akovec\r\n");
  TextFile g;
  EXPECT_FALSE(g.openRead(dir.file("new.txt")));  // created empty
  EXPECT_EQ(g.openRead(dir.file("none.txt"), false).kind(), ErrorCode::FileNotFound);
}

TEST(FixedWidth, CutPadsShortLinesAndJoinPadsOrCuts) {
  std::vector<std::size_t> w = {3, 5, 2};
  EXPECT_EQ(cutFixed("ab", w), (std::vector<std::string>{"ab ", "     ", "  "}));
  EXPECT_EQ(cutFixed("123\x8A" "abcdXYZZZ", w), (std::vector<std::string>{"123", "Šabcd", "XY"}));
  std::string raw;
  ASSERT_TRUE(joinFixed({"Ž", "toolongvalue", ""}, w, raw));
  EXPECT_EQ(raw, "\x8E  toolo  ");
  EXPECT_FALSE(joinFixed({"日"}, w, raw));
}

}  // namespace kdm
