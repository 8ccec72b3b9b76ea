#include "acquisition/url_directory.h"

#include <gtest/gtest.h>

#include "bank_pages.h"
#include "scripted_fetcher.h"

namespace norv {
namespace {

using testing::DirectoryBody;
using testing::DirectoryPage;
using testing::ScriptedFetcher;

constexpr std::string_view kPrimary = "http://dir.pellmark.test/cgi/url.cgi?SFT=0";
constexpr std::string_view kSecondary = "http://dir2.pellmark.test/cgi/url.cgi?SFT=0";

std::array<std::string, 14> SampleAddresses() {
  std::array<std::string, 14> addresses;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    addresses[i] = "http://data.pellmark.test/slot" + std::to_string(i) + ".txt";
  }
  return addresses;
}

UrlTable FilledWith(std::string_view marker) {
  UrlTable table;
  table.slots.fill(std::string(marker));
  return table;
}

TEST(UrlDirectory, ValidBodyFillsEverySlotWithTheTrimmedAddress) {
  std::array<std::string, 14> addresses = SampleAddresses();
  addresses[5].clear();
  UrlTable table = FilledWith("old");

  ASSERT_TRUE(ParseUrlDirectory(DirectoryPage(DirectoryBody(addresses)), kPrimary, table));

  EXPECT_EQ(table[0], "http://data.pellmark.test/slot0.txt");
  EXPECT_EQ(table[13], "http://data.pellmark.test/slot13.txt");
  EXPECT_EQ(table[5], "") << "a field of 100 blanks is an empty slot";
}

TEST(UrlDirectory, BodyMarkersAreFoundInAnyLetterCase) {
  const std::string page = "<html><body>" + DirectoryBody(SampleAddresses()) + "</body></html>";
  UrlTable table;
  ASSERT_TRUE(ParseUrlDirectory(page, kPrimary, table));
  EXPECT_EQ(table[10], "http://data.pellmark.test/slot10.txt");
}

TEST(UrlDirectory, BodyOfAnyOtherLengthThan1400IsRefusedAndLeavesTheTable) {
  const std::string body = DirectoryBody(SampleAddresses());
  for (const std::string& wrong : {body.substr(0, 1399), body + " "}) {
    UrlTable table = FilledWith("old");
    EXPECT_FALSE(ParseUrlDirectory(DirectoryPage(wrong), kPrimary, table)) << wrong.size();
    EXPECT_EQ(table[0], "old");
    EXPECT_EQ(table[13], "old");
  }
}

TEST(UrlDirectory, ABodyHoldingAZeroByteIsRefused) {
  std::string body = DirectoryBody(SampleAddresses());
  body[2 * 100 + 20] = '\0';
  UrlTable table = FilledWith("old");
  EXPECT_FALSE(ParseUrlDirectory(DirectoryPage(body), kPrimary, table));
  EXPECT_EQ(table[2], "old");
}

TEST(UrlDirectory, BodyThatDoesNotStartWithThePrimaryAddressSchemeIsRefused) {
  std::array<std::string, 14> addresses = SampleAddresses();
  addresses[0] = "ftp://data.pellmark.test/status.txt";
  UrlTable table = FilledWith("old");
  EXPECT_FALSE(ParseUrlDirectory(DirectoryPage(DirectoryBody(addresses)), kPrimary, table));
  EXPECT_EQ(table[0], "old");

  addresses[0] = "  http://data.pellmark.test/status.txt";
  EXPECT_FALSE(ParseUrlDirectory(DirectoryPage(DirectoryBody(addresses)), kPrimary, table))
      << "the scheme must stand at the very start of the body";
}

// A directory that arrived over TLS must not hand any read to plain HTTP, where
// a stranger on the path could rewrite it.
TEST(UrlDirectory, AnHttpsDirectoryWithAnyPlainHttpSlotIsRefused) {
  constexpr std::string_view kSecurePrimary = "https://dir.pellmark.test/cgi/url.cgi?SFT=0";
  std::array<std::string, 14> addresses;
  for (std::size_t i = 0; i < addresses.size(); ++i) {
    addresses[i] = "https://data.pellmark.test/slot" + std::to_string(i) + ".txt";
  }
  addresses[7].clear();
  addresses[12] = "HTTPS://data.pellmark.test/slot12.txt";
  UrlTable table = FilledWith("old");
  ASSERT_TRUE(ParseUrlDirectory(DirectoryPage(DirectoryBody(addresses)), kSecurePrimary, table))
      << "every slot https:// (in any letter case) or empty";

  for (std::size_t slot : {std::size_t{0}, std::size_t{3}, std::size_t{13}}) {
    std::array<std::string, 14> downgraded = addresses;
    downgraded[slot] = "http://data.pellmark.test/slot.txt";
    table = FilledWith("old");
    EXPECT_FALSE(ParseUrlDirectory(DirectoryPage(DirectoryBody(downgraded)), kSecurePrimary, table)) << slot;
    EXPECT_EQ(table[0], "old") << slot;
    EXPECT_EQ(table[13], "old") << slot;
  }
  addresses[9] = "ftp://data.pellmark.test/slot9.txt";
  EXPECT_FALSE(ParseUrlDirectory(DirectoryPage(DirectoryBody(addresses)), kSecurePrimary, table));
}

TEST(UrlDirectory, APlainHttpDirectoryMayNameHttpsSlots) {
  std::array<std::string, 14> addresses = SampleAddresses();
  addresses[10] = "https://bank.pellmark.test/index.html";
  UrlTable table;
  ASSERT_TRUE(ParseUrlDirectory(DirectoryPage(DirectoryBody(addresses)), kPrimary, table));
  EXPECT_EQ(table[10], "https://bank.pellmark.test/index.html");
}

TEST(UrlDirectory, PageWithoutABodyIsRefused) {
  UrlTable table = FilledWith("old");
  EXPECT_FALSE(ParseUrlDirectory("", kPrimary, table));
  EXPECT_FALSE(ParseUrlDirectory(DirectoryBody(SampleAddresses()), kPrimary, table)) << "no markers";
  EXPECT_FALSE(ParseUrlDirectory("<BODY>" + DirectoryBody(SampleAddresses()), kPrimary, table)) << "no end marker";
  EXPECT_EQ(table[3], "old");
}

TEST(UrlDirectory, FetchAsksTheChosenEndpointWithoutConversion) {
  ScriptedFetcher fetcher;
  fetcher.Serve(std::string(kSecondary), DirectoryPage(DirectoryBody(SampleAddresses())));
  UrlTable table;

  ASSERT_TRUE(FetchUrlDirectory(fetcher, kSecondary, kPrimary, {}, table));

  ASSERT_EQ(fetcher.requests.size(), 1u);
  EXPECT_EQ(fetcher.requests[0].url, kSecondary);
  EXPECT_FALSE(fetcher.requests[0].fromUtf8);
  EXPECT_EQ(table[2], "http://data.pellmark.test/slot2.txt");
}

TEST(UrlDirectory, FetchThatThrowsFailsAndLeavesTheTable) {
  ScriptedFetcher fetcher;
  fetcher.Throw(std::string(kPrimary));
  UrlTable table = FilledWith("old");
  EXPECT_FALSE(FetchUrlDirectory(fetcher, kPrimary, kPrimary, {}, table));
  EXPECT_EQ(table[7], "old");
}

}  // namespace
}  // namespace norv
