#pragma once
// The real published site as the end-to-end tests use it (tools/site-ctl):
// the histories its store holds, and the program pointed at one of its origins.

#include <windows.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "base/unicode_win.h"
#include "service/history_csv.h"
#include "store/game.h"
#include "tests/win/local_services.h"

namespace norv::testing {

// Each game's data file as a check that took the site's whole history leaves
// it: the records of the site's store, each ended by CR LF.
inline std::array<std::string, 4> PublishedSiteHistories() {
  std::array<std::string, 4> histories;
  for (Game game : kAllGames) {
    const std::optional<std::string> file = LocalServicesFile("site-store/" + service::HistoryFileName(game));
    if (!file) continue;
    std::ifstream in(std::filesystem::u8path(*file), std::ios::binary);
    const std::string csv{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const service::Draw& draw : service::ReadHistoryCsv(game, csv)) {
      histories[static_cast<std::size_t>(GameIndex(game))] += service::RecordText(draw) + "\r\n";
    }
  }
  return histories;
}

// Points the copies of the program started meanwhile at the two directory
// endpoints under `origin` ("https://localhost:PORT"), where the site
// publishes them; the earlier endpoints come back at the end.
class ScopedDirectoryOrigin {
 public:
  explicit ScopedDirectoryOrigin(const std::string& origin) {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
      wchar_t value[2048] = {};
      if (::GetEnvironmentVariableW(kNames[i], value, 2048) != 0) saved_[i] = value;
      const std::wstring endpoint = Widen(origin) + L"/dir" + std::to_wstring(i + 1) + L"/dir.cgi?SFT=0";
      ::SetEnvironmentVariableW(kNames[i], endpoint.c_str());
    }
  }
  ScopedDirectoryOrigin(const ScopedDirectoryOrigin&) = delete;
  ScopedDirectoryOrigin& operator=(const ScopedDirectoryOrigin&) = delete;
  ~ScopedDirectoryOrigin() {
    for (std::size_t i = 0; i < kNames.size(); ++i) {
      ::SetEnvironmentVariableW(kNames[i], saved_[i] ? saved_[i]->c_str() : nullptr);
    }
  }

 private:
  static constexpr std::array<const wchar_t*, 2> kNames{L"NORVALE_DIRECTORY_1", L"NORVALE_DIRECTORY_2"};
  std::array<std::optional<std::wstring>, 2> saved_;
};

}  // namespace norv::testing
