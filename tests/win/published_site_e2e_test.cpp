// The real program against the real published site: one store made from the
// bundled snapshot, its site served by nginx, by norv-service's own server,
// and by nginx over TLS with a certificate from the run's test CA. One check
// brings data files that are one draw behind, or empty, to the store's whole
// history, byte for byte.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "app/app_messages.h"
#include "app/command_ids.h"
#include "base/unicode_win.h"
#include "store/draw_record.h"
#include "tests/win/local_services.h"
#include "tests/win/norv_process.h"
#include "tests/win/published_site.h"

namespace norv {
namespace {

using testing::NorvProcess;
using testing::WaitUntil;

constexpr wchar_t kSection[] = L"Software\\Pellmark\\T-NORV";

struct SiteCase {
  const char* server;   // whose port file in the site's state folder
  Game emptyGame;       // the data file that starts empty; the others are one draw behind
  const char* origin = "http://127.0.0.1:";  // the site's addresses up to the port
};

void PrintTo(const SiteCase& c, std::ostream* os) { *os << c.server; }

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::wstring DataFile(Game game) {
  return testing::DataFolderPath() + Widen(std::string(LayoutOf(game).dataFile));
}

void PutDataFile(Game game, const std::string& bytes) {
  std::filesystem::create_directories(testing::DataFolderPath());
  std::ofstream(std::filesystem::path(DataFile(game)), std::ios::binary | std::ios::trunc) << bytes;
}

std::size_t DataFileSize(Game game) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(DataFile(game).c_str(), GetFileExInfoStandard, &data)) return 0;
  return data.nFileSizeLow;
}

void Setting(const wchar_t* name, const wchar_t* value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kSection, name, REG_SZ, value,
                    static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

bool CheckRunning(HWND window) {
  return (::SendMessageW(window, kMsgRunStateProbe, 0, 0) & kProbeCheckRunning) != 0;
}

class PublishedSiteEndToEnd : public ::testing::TestWithParam<SiteCase> {
 protected:
  void SetUp() override {
    port_ = testing::LocalServicePort(std::string(GetParam().server) + ".port");
    ASSERT_NE(port_, 0) << GetParam().server << " does not serve the published site (see tools/site-ctl"
                        << " and, for https, tools/test-ca.sh)";
    expected_ = testing::PublishedSiteHistories();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSection);
    for (const wchar_t* name : {L"win", L"mod", L"kid", L"in1", L"in2", L"snd", L"msg", L"dkg"}) Setting(name, L"0");
    directories_.emplace(GetParam().origin + std::to_string(port_));
  }

  void TearDown() override {
    directories_.reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSection);
  }

  const std::string& Expected(Game game) const { return expected_[static_cast<std::size_t>(GameIndex(game))]; }

  int port_ = 0;
  std::array<std::string, 4> expected_;
  std::optional<testing::ScopedDirectoryOrigin> directories_;
};

TEST_P(PublishedSiteEndToEnd, OneCheckBringsEveryDataFileToTheStoresWholeHistory) {
  for (Game game : kAllGames) {
    const std::string& whole = Expected(game);
    ASSERT_GT(whole.size(), 0u);
    const std::size_t oneBehind = whole.size() - static_cast<std::size_t>(LayoutOf(game).recordBytes);
    PutDataFile(game, game == GetParam().emptyGame ? std::string() : whole.substr(0, oneBehind));
  }
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(window, kMsgActiveGridTopRow, 0, 0) != 0 && !CheckRunning(window); }));

  ::PostMessageW(window, WM_COMMAND, kToolButtonFirst + 1, 0);
  const auto complete = [&] {
    for (Game game : kAllGames) {
      if (DataFileSize(game) != Expected(game).size()) return false;
    }
    return !CheckRunning(window);
  };
  ASSERT_TRUE(WaitUntil(complete, 30000)) << "LOTO6 holds " << DataFileSize(Game::Loto6) << " of "
                                          << Expected(Game::Loto6).size() << " bytes";
  for (Game game : kAllGames) {
    EXPECT_TRUE(FileBytes(DataFile(game)) == Expected(game)) << GameName(game) << " differs";
  }
}

INSTANTIATE_TEST_SUITE_P(Servers, PublishedSiteEndToEnd,
                         ::testing::Values(SiteCase{"nginx", Game::Loto6}, SiteCase{"serve", Game::Numbers3},
                                           SiteCase{"https", Game::MiniLoto, "https://localhost:"}));

}  // namespace
}  // namespace norv
