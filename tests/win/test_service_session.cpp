#include "tests/win/test_service_session.h"

#include <stdexcept>

#include "acquisition/environment.h"
#include "acquisition/fetch_win.h"
#include "acquisition/full_refresh.h"
#include "acquisition/url_directory.h"
#include "base/utf8.h"
#include "store/draw_record.h"
#include "tests/win/local_services.h"
#include "tests/win/win_test_support.h"

namespace norv::testing {
namespace {

constexpr std::array<const char*, 4> kHistoryKeys{"lot6", "mini", "num4", "num3"};
constexpr std::array<const char*, 4> kResultFolders{"loto6/", "miniloto/", "numbers4/", "numbers3/"};

std::string Origin() { return "http://127.0.0.1:" + std::to_string(TestServicePort()); }

std::string HistoryCountsQuery(const std::array<std::string, 4>& counts) {
  std::string query = "/control/status?";
  for (Game game : kAllGames) {
    const auto i = static_cast<std::size_t>(GameIndex(game));
    query += std::string(i ? "&" : "") + kHistoryKeys[i] + "=" + counts[i];
  }
  return query;
}

// The index page slot (10 LOTO6/MiniLOTO, 12 Numbers) of the primary directory.
std::string IndexPageAddress(Game game) {
  const std::string endpoint = Origin() + "/dir1/dir.cgi?SFT=0";
  UrlTable table;
  if (!ParseUrlDirectory(RemoveLineBreaks(FromTestService("/dir1/dir.cgi?SFT=0")), endpoint, table)) {
    throw std::runtime_error("the test service gave no valid directory");
  }
  return table.slots[game == Game::Loto6 || game == Game::MiniLoto ? 10 : 12];
}

}  // namespace

int TestServicePort() { return LocalServicePort("service.port"); }

std::string FromTestService(std::string_view target) {
  WinInetFetcher fetcher(AccessFromSettings(false, false, "", ""));
  const std::stop_source never;
  return fetcher.FetchUrlText(Origin() + std::string(target), false, never.get_token());
}

int PublishedDraws(Game game) {
  const std::string state = FromTestService("/control/state");
  const std::string label = std::string(GameName(game)) + " published ";
  const std::size_t at = state.find(label);
  if (at == std::string::npos) return -1;
  return std::stoi(state.substr(at + label.size()));
}

std::array<std::string, 4> CompleteDataFiles() {
  std::array<std::string, 4> published;
  for (Game game : kAllGames) published[static_cast<std::size_t>(GameIndex(game))] = std::to_string(PublishedDraws(game));
  FromTestService(HistoryCountsQuery(published));
  std::array<std::string, 4> files;
  for (Game game : kAllGames) {
    const auto i = static_cast<std::size_t>(GameIndex(game));
    const std::stop_source never;
    files[i] = BuildHistoryFile(game, FromTestService("/svc1/" + std::string(kHistoryKeys[i]) + ".txt"), never.get_token())
                   .value_or("");
  }
  FromTestService(HistoryCountsQuery({"auto", "auto", "auto", "auto"}));
  return files;
}

void PrepareQuietCheckSettings() {
  ClearProgramRegistry();
  for (const wchar_t* name : {L"win", L"mod", L"kid", L"in1", L"in2", L"snd", L"msg", L"dkg", L"cnt"}) {
    SetProgramSetting(name, L"0");
  }
  SetProgramSetting(L"new", L"9999");
}

std::wstring DataFilePath(Game game) { return DataFolder() + Utf16(std::string(LayoutOf(game).dataFile)); }

std::string ReadDataFile(Game game) { return ReadFileBytes(DataFilePath(game)); }

void WriteDataFile(Game game, const std::string& bytes) { WriteFileBytes(DataFilePath(game), bytes); }

std::string IndexPagePath(Game game) { return IndexPageAddress(game).substr(Origin().size()); }

std::string ResultPagePath(Game game) {
  std::string path = IndexPagePath(game);
  path.resize(path.rfind('/') + 1);
  return path + kResultFolders[static_cast<std::size_t>(GameIndex(game))] + "index.html";
}

}  // namespace norv::testing
