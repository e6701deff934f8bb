// Runs on separate connections to one data directory, as the worker
// threads of the desktop program have them, and the delivery of files.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "data/run_unit.h"
#include "platform/files.h"
#include "temp_dir.h"

namespace kdm {
namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

struct TwoConnections : ::testing::Test {
  test::EmptyStore s;
  std::unique_ptr<DataStore> other;
  void SetUp() override { ASSERT_FALSE(DataStore::open(s.dir.path(), false, other)); }
};

TEST_F(TwoConnections, AnExclusiveOpenHoldsAgainstTheOtherConnection) {
  RecordFile mine(*s.store, "TBOSIGUR"), theirs(*other, "TBOSIGUR"), view(*other, "RAD2");
  ASSERT_FALSE(mine.open(OpenMode::Exclusive));
  Error e = theirs.open(OpenMode::Exclusive);
  EXPECT_EQ(e.kind(), ErrorCode::FileLocked);
  EXPECT_EQ(e.text, "File is in use by another window or program: TBOSIGUR");
  // The second view of the same file is the same file.
  EXPECT_EQ(view.open(OpenMode::Exclusive).kind(), ErrorCode::FileLocked);
  // Reading goes on.
  EXPECT_FALSE(theirs.open(OpenMode::Shared));
  theirs.close();
  mine.close();
  EXPECT_FALSE(theirs.open(OpenMode::Exclusive));
}

TEST_F(TwoConnections, ARunHoldsAllItsFilesOrNone) {
  RunUnit first(*s.store);
  ASSERT_FALSE(first.hold({"TBVALTA", "TBOSIGUR"}));
  RunUnit second(*other);
  // Refused on the second file: the first one it took is let go again.
  EXPECT_EQ(second.hold({"TBGRESKE", "TBOSIGUR"}).text, "File is in use by another window or program: TBOSIGUR");
  RunUnit third(*s.store);
  EXPECT_FALSE(third.hold({"TBGRESKE"}));
  // A thread with its own connection is refused as another process is.
  Error fromThread;
  std::thread([&] {
    std::unique_ptr<DataStore> own;
    if (Error e = DataStore::open(s.dir.path(), false, own)) {
      fromThread = e;
      return;
    }
    RunUnit run(*own);
    fromThread = run.hold({"TBVALTA"});
  }).join();
  EXPECT_EQ(fromThread.kind(), ErrorCode::FileLocked);
}

TEST_F(TwoConnections, ADeliveredFileIsReplacedOnlyByACommittedRun) {
  const std::string final = s.dir.file("F0015001.TXT"), source = s.dir.file("TBVALTA.TXT");
  write(final, "old");
  write(source, "new");
  {
    RunUnit run(*s.store);
    ASSERT_FALSE(run.begin({final}));
    ASSERT_FALSE(run.stage(source, final));
    EXPECT_EQ(slurp(final), "old");
    // Not committed: the old file stays and no temporary is left.
  }
  EXPECT_EQ(slurp(final), "old");
  EXPECT_FALSE(fileExists(temporaryNameOf(final)));
  {
    RunUnit run(*s.store);
    ASSERT_FALSE(run.begin({final}));
    EXPECT_EQ(run.stage(source, s.dir.file("OTHER.TXT")).kind(), ErrorCode::InvalidValue);
    ASSERT_FALSE(run.stage(source, final));
    ASSERT_FALSE(run.commit());
  }
  EXPECT_EQ(slurp(final), "new");
  EXPECT_FALSE(fileExists(temporaryNameOf(final)));
  // A missing directory fails the stage; nothing is left behind.
  RunUnit run(*s.store);
  const std::string nowhere = s.dir.file("izlaz/F0025001.TXT");
  ASSERT_FALSE(run.begin({nowhere}));
  EXPECT_EQ(run.stage(source, nowhere).text, "No such file or directory: " + nowhere);
}

}  // namespace
}  // namespace kdm
