#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "acquisition/full_refresh.h"
#include "acquisition/latest_draw_reader.h"
#include "base/handles_win.h"
#include "base/unicode_win.h"
#include "tests/native/bank_pages.h"
#include "tests/native/scripted_fetcher.h"

namespace norv {
namespace {

using Reports = std::vector<std::pair<int, int>>;

class HeldDataFile : public ::testing::Test {
 protected:
  HeldDataFile() {
    folder_ = std::filesystem::temp_directory_path() / ("norv_acq_" + std::to_string(::GetCurrentProcessId()));
    std::filesystem::create_directories(folder_);
    urls_.slots[2] = "http://data.pellmark.test/loto6.txt";
    urls_.slots[10] = testing::kLotoIndex;
  }
  ~HeldDataFile() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::filesystem::path PathOf(const char* name) const { return folder_ / name; }
  void Write(const char* name, const std::string& content) const {
    std::ofstream(PathOf(name), std::ios::binary) << content;
  }
  std::string Read(const char* name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Another program reading the file the usual way: deleting and renaming not shared.
  UniqueKernelHandle HoldOpen(const char* name) const {
    return AdoptFileHandle(::CreateFileW(PathOf(name).wstring().c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  AcquisitionContext Context() { return {fetcher_, urls_, Narrow(folder_.wstring()) + "\\", {}}; }
  FailureSink Sink() {
    return [this](int code, int number) { reports_.emplace_back(code, number); };
  }

  std::filesystem::path folder_;
  testing::ScriptedFetcher fetcher_;
  UrlTable urls_;
  Reports reports_;
};

TEST_F(HeldDataFile, AppendToAFileHeldOpenReportsTheReplaceFailureAndKeepsTheFile) {
  const std::string stored(40, '0');  // one whole MiniLOTO record
  Write("dat_mini.tan", stored + "\r\n");
  fetcher_.Serve(testing::kLotoIndex, testing::BankIndexPage(Game::MiniLoto));
  fetcher_.Serve(testing::kBankHost + testing::ButtonLinkOf(Game::MiniLoto),
                 testing::ResultPageHtml(testing::MiniLotoDraw(2)));
  GameData data;
  data.drawCount = 1;
  const UniqueKernelHandle held = HoldOpen("dat_mini.tan");
  ASSERT_TRUE(held);

  EXPECT_FALSE(ReadLatestDraw(Game::MiniLoto, data, Context(), Sink()));

  EXPECT_EQ(reports_, (Reports{{111, 12}}));
  EXPECT_EQ(data.drawCount, 1);
  EXPECT_EQ(Read("dat_mini.tan"), stored + "\r\n");
  EXPECT_FALSE(std::filesystem::exists(PathOf("tmp_mini.tan")));
}

TEST_F(HeldDataFile, RefreshOfAFileHeldOpenShows108AndKeepsTheFile) {
  // The held draw as the history gives it: a history that changed it would be
  // refused before any file step.
  const std::string stored = "0001" + std::string(52, '2');
  Write("dat_lot6.tan", stored + "\r\n");
  std::string history;  // three records, each beginning with its draw number
  for (const char* number : {"0001", "0002", "0003"}) history += number + std::string(52, '2');
  fetcher_.Serve(urls_[2], history);
  const UniqueKernelHandle held = HoldOpen("dat_lot6.tan");
  ASSERT_TRUE(held);

  EXPECT_EQ(RefreshDataFile(Game::Loto6, false, false, 1, Context(), Sink()), std::nullopt);

  EXPECT_EQ(reports_, (Reports{{108, 0}}));
  EXPECT_EQ(Read("dat_lot6.tan"), stored + "\r\n");
  EXPECT_FALSE(std::filesystem::exists(PathOf("tmp_lot6.tan")));
}

TEST_F(HeldDataFile, AppendReplacesTheFileOnceNobodyHoldsIt) {
  Write("dat_lot6.tan", std::string(56, '0') + "\r\n");
  fetcher_.Serve(testing::kLotoIndex, testing::BankIndexPage(Game::Loto6));
  fetcher_.Serve(testing::kBankHost + testing::ButtonLinkOf(Game::Loto6),
                 testing::ResultPageHtml(testing::Loto6Draw(2)));
  GameData data;
  data.drawCount = 1;

  EXPECT_TRUE(ReadLatestDraw(Game::Loto6, data, Context(), Sink()));

  EXPECT_EQ(Read("dat_lot6.tan").size(), 2u * 58u);
  EXPECT_EQ(data.drawCount, 2);
}

}  // namespace
}  // namespace norv
