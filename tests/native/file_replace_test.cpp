#include "store/file_replace.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_folder.h"

namespace norv {
namespace {

class FileReplaceTest : public ::testing::Test {
 protected:
  std::string Data() const { return folder_.File("dat_num4.tan"); }
  std::string Twin() const { return folder_.File("tmp_num4.tan"); }

  testing::TempFolder folder_;
};

TEST_F(FileReplaceTest, AFullRewriteReplacesTheContentAndRemovesTheTwin) {
  folder_.Write("dat_num4.tan", "old content");
  EXPECT_EQ(WriteTwinAndReplace(Twin(), Data(), "new"), ReplaceOutcome::Replaced);
  EXPECT_EQ(folder_.Read("dat_num4.tan"), "new");
  EXPECT_FALSE(folder_.Exists("tmp_num4.tan"));
}

TEST_F(FileReplaceTest, AnAppendAddsExactlyTheTail) {
  folder_.Write("dat_num4.tan", "record 1\r\n");
  EXPECT_EQ(AppendRecordViaTwin(Twin(), Data(), "record 2\r\n"), ReplaceOutcome::Replaced);
  EXPECT_EQ(folder_.Read("dat_num4.tan"), "record 1\r\nrecord 2\r\n");
  EXPECT_FALSE(folder_.Exists("tmp_num4.tan"));
}

TEST_F(FileReplaceTest, ALeftoverTwinFromAnEarlierCrashDoesNotLeakIn) {
  folder_.Write("dat_num4.tan", "A");
  folder_.Write("tmp_num4.tan", "stale stale stale");
  EXPECT_EQ(AppendRecordViaTwin(Twin(), Data(), "B"), ReplaceOutcome::Replaced);
  EXPECT_EQ(folder_.Read("dat_num4.tan"), "AB");
  folder_.Write("tmp_num4.tan", "stale stale stale");
  EXPECT_EQ(WriteTwinAndReplace(Twin(), Data(), "C"), ReplaceOutcome::Replaced);
  EXPECT_EQ(folder_.Read("dat_num4.tan"), "C");
}

TEST_F(FileReplaceTest, AFileCutInsideARecordIsNeverAppendedTo) {
  folder_.Write("dat_num4.tan", "record 1\r\nrec");
  EXPECT_EQ(AppendRecordViaTwin(Twin(), Data(), "record 2\r\n"), ReplaceOutcome::TwinFailed);
  EXPECT_EQ(folder_.Read("dat_num4.tan"), "record 1\r\nrec");
  EXPECT_FALSE(folder_.Exists("tmp_num4.tan"));
}

TEST_F(FileReplaceTest, AnAppendNeverCreatesADataFile) {
  EXPECT_EQ(AppendRecordViaTwin(Twin(), Data(), "record\r\n"), ReplaceOutcome::TwinFailed);
  EXPECT_FALSE(folder_.Exists("dat_num4.tan"));
  EXPECT_FALSE(folder_.Exists("tmp_num4.tan"));
}

TEST_F(FileReplaceTest, ATwinThatCannotBeWrittenLeavesTheDataFileAlone) {
  folder_.Write("dat_num4.tan", "kept");
  const std::string twin = folder_.File("missing folder/tmp_num4.tan");
  EXPECT_EQ(WriteTwinAndReplace(twin, Data(), "new"), ReplaceOutcome::TwinFailed);
  EXPECT_EQ(AppendRecordViaTwin(twin, Data(), "new"), ReplaceOutcome::TwinFailed);
  EXPECT_EQ(folder_.Read("dat_num4.tan"), "kept");
}

// A rename cannot put a file over a folder that is not empty: the stand-in
// here for a data file that another program keeps from being replaced.
TEST_F(FileReplaceTest, ATargetThatCannotBeReplacedStaysAsItWasAndTheTwinGoes) {
  std::filesystem::create_directories(folder_.File("dat_num4.tan"));
  folder_.Write("dat_num4.tan/inside", "kept");
  EXPECT_EQ(WriteTwinAndReplace(Twin(), Data(), "new"), ReplaceOutcome::ReplaceFailed);
  EXPECT_FALSE(folder_.Exists("tmp_num4.tan"));
  EXPECT_EQ(folder_.Read("dat_num4.tan/inside"), "kept");
}

}  // namespace
}  // namespace norv
