#include "settings/startup_entry.h"

#include <gtest/gtest.h>

namespace norv {
namespace {

TEST(StartupEntry, NamesTheProgramInQuotesSoASpaceInTheFolderIsNoBreak) {
  EXPECT_EQ(StartupEntryCommand("C:\\Program Files\\Norvale\\"), "\"C:\\Program Files\\Norvale\\norv.exe\"");
}

TEST(StartupEntry, TheBarePathOfAnEarlierReleaseIsRecognisedInAnyLetterCase) {
  const std::string folder = "C:\\Program Files\\Norvale\\";
  EXPECT_TRUE(IsBareStartupEntry("C:\\Program Files\\Norvale\\norv.exe", folder));
  EXPECT_TRUE(IsBareStartupEntry("c:\\program files\\norvale\\NORV.EXE", folder));
  EXPECT_FALSE(IsBareStartupEntry(StartupEntryCommand(folder), folder));
  EXPECT_FALSE(IsBareStartupEntry("D:\\Other\\norv.exe", folder));
  EXPECT_FALSE(IsBareStartupEntry("C:\\Program Files\\Norvale\\norv.exe -x", folder));
}

}  // namespace
}  // namespace norv
