#include "acquisition/fetch_reply.h"

#include <gtest/gtest.h>

#include "settings/settings.h"

namespace norv {
namespace {

TEST(InternetAccess, PreconfiguredWinsOverTheNamedProxy) {
  const InternetAccess access = AccessFromSettings(true, true, "proxy.example", "8080");
  EXPECT_EQ(access.mode, InternetAccess::Mode::Preconfigured);
}

TEST(InternetAccess, NamedProxyJoinsAddressAndPort) {
  Settings settings;
  settings.ldf = false;
  settings.lpx = true;
  settings.lpa = "proxy.example";
  settings.lpp = "8080";
  const InternetAccess access = AccessFromSettings(settings);
  EXPECT_EQ(access.mode, InternetAccess::Mode::NamedProxy);
  EXPECT_EQ(access.proxy, "proxy.example:8080");
}

TEST(InternetAccess, NeitherOptionMeansDirect) {
  EXPECT_EQ(AccessFromSettings(false, false, "proxy.example", "8080").mode, InternetAccess::Mode::Direct);
}

TEST(AgentName, IsTheExecutableNameWithoutItsExtension) {
  EXPECT_EQ(AgentFromExecutablePath("C:\\Program Files\\Pellmark\\norv.exe"), "norv");
  EXPECT_EQ(AgentFromExecutablePath("C:\\Tools\\Norv_Tests.EXE"), "Norv_Tests");
  EXPECT_EQ(AgentFromExecutablePath("C:\\a.exe\\b\\norv.v2.exe"), "norv.v2");
}

TEST(AgentName, IsEmptyWithoutAFolderOrAnExeEnding) {
  EXPECT_EQ(AgentFromExecutablePath("norv.exe"), "");
  EXPECT_EQ(AgentFromExecutablePath("C:\\tools\\norv"), "");
  EXPECT_EQ(AgentFromExecutablePath(""), "");
}

TEST(ReplyCollector, JoinsChunksIntoOneLine) {
  ReplyCollector reply;
  EXPECT_TRUE(reply.Append("12\r"));
  EXPECT_TRUE(reply.Append("\n34\r\n"));
  EXPECT_EQ(reply.Finish(false), "1234");
}

TEST(ReplyCollector, ACharacterSplitBetweenReadsArrivesIntact) {
  const std::string page = std::string(kFetchChunkBytes - 1, 'x') + "第2160回";
  ReplyCollector reply;
  reply.Append(std::string_view(page).substr(0, kFetchChunkBytes));
  reply.Append(std::string_view(page).substr(kFetchChunkBytes));
  EXPECT_EQ(reply.Finish(true), page);
}

TEST(ReplyCollector, RepairsInvalidUtf8OnlyWhenAskedTo) {
  ReplyCollector reply;
  reply.Append("a\xFF" "b");
  EXPECT_EQ(reply.Finish(true), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(reply.Finish(false), "a\xFF" "b");
}

TEST(ReplyCollector, ALineBreakInsideABrokenSequenceDoesNotMakeANewCharacter) {
  ReplyCollector reply;
  reply.Append("\xE3\r\n\x81\x82");
  EXPECT_EQ(reply.Finish(true), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(ReplyCollector, APageLosesItsZeroBytesWithoutBeingCutShort) {
  ReplyCollector reply;
  reply.Append(std::string_view("<p>\0" "第2160回", 14));
  EXPECT_EQ(reply.Finish(true), "<p>第2160回");
}

// Fields at fixed positions must not move: the reader sees the damage.
TEST(ReplyCollector, AnyOtherReplyKeepsItsZeroBytesInPlace) {
  ReplyCollector reply;
  reply.Append(std::string_view("12\0" "34\r\n", 7));
  EXPECT_EQ(reply.Finish(false), std::string("12\0" "34", 5));
}

TEST(ReplyCollector, AReplyUpToTheLimitIsKept) {
  ReplyCollector reply(8);
  EXPECT_TRUE(reply.Append("1234"));
  EXPECT_TRUE(reply.Append("5678"));
  EXPECT_FALSE(reply.TooLarge());
  EXPECT_EQ(reply.Finish(false), "12345678");
}

TEST(ReplyCollector, AReplyPastTheLimitIsRefusedWhole) {
  ReplyCollector reply(8);
  EXPECT_TRUE(reply.Append("1234"));
  EXPECT_FALSE(reply.Append("56789"));
  EXPECT_FALSE(reply.Append("0"));
  EXPECT_TRUE(reply.TooLarge());
  EXPECT_EQ(reply.Finish(false), "");
}

}  // namespace
}  // namespace norv
