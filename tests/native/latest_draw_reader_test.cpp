#include "acquisition/latest_draw_reader.h"

#include <gtest/gtest.h>

#include "bank_pages.h"
#include "scripted_fetcher.h"
#include "store/draw_record.h"
#include "temp_data_folder.h"

namespace norv {
namespace {

using testing::BankIndexPage;
using testing::ButtonLinkOf;
using testing::kBankHost;
using testing::ResultPageHtml;
using testing::SampleDraw;
using testing::SampleRecordTail;

using Report = std::pair<int, int>;
using Reports = std::vector<Report>;

// Two stored draws of any game: the record texts do not matter to an append.
std::string StoredRecords(Game game, int count) {
  std::string file;
  for (int i = 1; i <= count; ++i) {
    const std::string text = std::to_string(1000 + i);
    file += text + std::string(static_cast<std::size_t>(LayoutOf(game).textBytes) - text.size(), '0') + "\r\n";
  }
  return file;
}

// What the bank's pages and the reports look like for one game, written out
// independently of the reader's own table.
struct GameCase {
  Game game;
  int eventCode;
  int secondAttemptBase;
  int appendFailedCode;
  std::string primaryIndex;
  std::string fallbackIndex;
};

const GameCase kCases[] = {
    {Game::Loto6, 112, 11, 10, testing::kLotoIndex, testing::kLotoIndexFallback},
    {Game::MiniLoto, 111, 12, 11, testing::kLotoIndex, testing::kLotoIndexFallback},
    {Game::Numbers4, 110, 11, 10, testing::kNumbersIndex, testing::kNumbersIndexFallback},
    {Game::Numbers3, 109, 11, 10, testing::kNumbersIndex, testing::kNumbersIndexFallback},
};

void PrintTo(const GameCase& c, std::ostream* os) {
  *os << GameName(c.game);
}

class LatestDrawReader : public ::testing::TestWithParam<GameCase> {
 protected:
  LatestDrawReader() {
    urls.slots[10] = testing::kLotoIndex;
    urls.slots[11] = testing::kLotoIndexFallback;
    urls.slots[12] = testing::kNumbersIndex;
    urls.slots[13] = testing::kNumbersIndexFallback;
  }

  Game game() const { return GetParam().game; }
  const std::string& PrimaryIndex() const { return GetParam().primaryIndex; }
  const std::string& FallbackIndex() const { return GetParam().fallbackIndex; }
  std::string ResultAddress() const { return kBankHost + ButtonLinkOf(game()); }
  int Base1() const { return GetParam().secondAttemptBase; }
  int Code() const { return GetParam().eventCode; }
  std::string DataFile() const { return std::string(LayoutOf(game()).dataFile); }
  std::string TempFile() const { return std::string(LayoutOf(game()).tempFile); }

  // The bank publishes draw `draw` behind the primary index page.
  void Publish(int draw) {
    fetcher.Serve(PrimaryIndex(), BankIndexPage(game()));
    fetcher.Serve(ResultAddress(), ResultPageHtml(SampleDraw(game(), draw)));
  }

  void HoldDraws(int count) {
    folder.Write(DataFile(), StoredRecords(game(), count));
    data.drawCount = count;
  }

  bool Read() {
    const AcquisitionContext context{fetcher, urls, folder.Prefix(), {}};
    return ReadLatestDraw(game(), data, context, [&](int code, int number) { reports.emplace_back(code, number); });
  }

  testing::ScriptedFetcher fetcher;
  testing::TempDataFolder folder;
  UrlTable urls;
  GameData data;
  Reports reports;
};

TEST_P(LatestDrawReader, NextDrawIsAppendedThroughTheTwinAndCounted) {
  HoldDraws(2);
  Publish(3);

  ASSERT_TRUE(Read());

  EXPECT_EQ(folder.Read(DataFile()), StoredRecords(game(), 2) + "0003" + SampleRecordTail(game()) + "\r\n");
  EXPECT_EQ(data.drawCount, 3);
  EXPECT_FALSE(folder.Exists(TempFile()));
  EXPECT_EQ(reports, Reports{});
  EXPECT_EQ(fetcher.Urls(), (std::vector<std::string>{PrimaryIndex(), ResultAddress()}));
  EXPECT_TRUE(fetcher.requests[0].fromUtf8 && fetcher.requests[1].fromUtf8);
}

TEST_P(LatestDrawReader, UnpublishedDrawTriesTheFallbackIndexAndChangesNothing) {
  HoldDraws(2);
  Publish(2);
  fetcher.Serve(FallbackIndex(), BankIndexPage(game()));

  EXPECT_FALSE(Read());

  EXPECT_EQ(reports, Reports{});
  EXPECT_EQ(fetcher.Urls(), (std::vector<std::string>{PrimaryIndex(), ResultAddress(), FallbackIndex(), ResultAddress()}));
  EXPECT_EQ(folder.Read(DataFile()), StoredRecords(game(), 2));
  EXPECT_EQ(data.drawCount, 2);
}

TEST_P(LatestDrawReader, FallbackIndexLinksArePrefixedWithThePrimaryHost) {
  HoldDraws(2);
  fetcher.Serve(FallbackIndex(), BankIndexPage(game()));
  fetcher.Serve(ResultAddress(), ResultPageHtml(SampleDraw(game(), 3)));

  ASSERT_TRUE(Read());

  EXPECT_EQ(reports, (Reports{{Code(), 2}}));
  EXPECT_EQ(fetcher.Urls().back(), ResultAddress());
}

TEST_P(LatestDrawReader, IndexPageFailuresAreReportedPerAttempt) {
  HoldDraws(2);
  fetcher.Throw(PrimaryIndex());
  fetcher.Serve(FallbackIndex(), "<html><body>工事中</body></html>");
  EXPECT_FALSE(Read());
  EXPECT_EQ(reports, (Reports{{Code(), 1}, {Code(), Base1() + 4}}));

  reports.clear();
  fetcher = {};
  fetcher.Serve(PrimaryIndex(), testing::IndexPageHtml({{"", testing::ButtonImageOf(game())}}));
  EXPECT_FALSE(Read());
  EXPECT_EQ(reports, (Reports{{Code(), 3}, {Code(), Base1() + 2}}));
  EXPECT_EQ(data.drawCount, 2);
}

TEST_P(LatestDrawReader, ResultPageFailuresAreReportedPerAttempt) {
  HoldDraws(2);
  fetcher.Serve(PrimaryIndex(), BankIndexPage(game()));
  fetcher.Serve(FallbackIndex(), BankIndexPage(game()));
  fetcher.Throw(ResultAddress());
  EXPECT_FALSE(Read());
  EXPECT_EQ(reports, (Reports{{Code(), 5}, {Code(), Base1() + 5}}));

  reports.clear();
  fetcher = {};
  fetcher.Serve(PrimaryIndex(), BankIndexPage(game()));
  fetcher.Serve(FallbackIndex(), BankIndexPage(game()));
  EXPECT_FALSE(Read());
  EXPECT_EQ(reports, (Reports{{Code(), 6}, {Code(), Base1() + 6}}));

  reports.clear();
  fetcher.Serve(ResultAddress(), "<html><body>メンテナンス中</body></html>");
  EXPECT_FALSE(Read());
  EXPECT_EQ(reports, (Reports{{Code(), 7}, {Code(), Base1() + 7}}));
}

TEST_P(LatestDrawReader, MissingDataFileIsNeverCreatedByAnAppend) {
  data.drawCount = 2;
  Publish(3);

  EXPECT_FALSE(Read());

  EXPECT_EQ(reports, (Reports{{Code(), GetParam().appendFailedCode}}));
  EXPECT_FALSE(folder.Exists(DataFile()));
  EXPECT_FALSE(folder.Exists(TempFile()));
  EXPECT_EQ(data.drawCount, 2);
}

INSTANTIATE_TEST_SUITE_P(Games, LatestDrawReader, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(GameName(info.param.game)); });

TEST(LatestDrawReaderAddress, ShortPrimaryIndexAddressLeavesTheBareLink) {
  testing::ScriptedFetcher fetcher;
  testing::TempDataFolder folder;
  UrlTable urls;
  urls.slots[10] = "http://bank.test/idx.html";  // fewer than 27 characters
  fetcher.Serve(urls[10], BankIndexPage(Game::Loto6));
  GameData data;
  const AcquisitionContext context{fetcher, urls, folder.Prefix(), {}};

  ReadLatestDraw(Game::Loto6, data, context, [](int, int) {});

  ASSERT_GE(fetcher.requests.size(), 2u);
  EXPECT_EQ(fetcher.requests[1].url, ButtonLinkOf(Game::Loto6));
}

}  // namespace
}  // namespace norv
