#include "service/site_content.h"

#include <algorithm>

namespace norv::service {

namespace {

constexpr std::string_view kHtml = "text/html; charset=UTF-8";
constexpr std::string_view kText = "text/plain; charset=UTF-8";

std::shared_ptr<const std::string> Shared(std::string text) {
  return std::make_shared<const std::string>(std::move(text));
}

void AddCopies(std::vector<SiteFile>& files, const std::array<std::string, 2>& paths, std::string_view type,
               std::string text) {
  const auto body = Shared(std::move(text));
  for (const std::string& path : paths) files.push_back({path, type, body});
}

std::vector<Draw> NewestFirst(const GameSource& source, int count) {
  std::vector<Draw> newest;
  for (auto draw = source.draws.rbegin(); draw != source.draws.rend() && static_cast<int>(newest.size()) < count;
       ++draw) {
    newest.push_back(*draw);
  }
  return newest;
}

}  // namespace

int GameSource::PublishedHistoryCount() const {
  const int held = static_cast<int>(draws.size());
  return std::clamp(historyCount.value_or(held - 1), 0, held);
}

std::optional<std::string> SiteProblem(const SiteInput& input) {
  if (auto problem = BaseUrlProblem(input.base)) return problem;
  const SiteLayout layout(input.base);
  if (layout.LongestSlotLength() > kSlotWidth) {
    return "the base URL \"" + layout.Base() + "\" makes addresses of up to " +
           std::to_string(layout.LongestSlotLength()) + " characters; a directory slot holds " +
           std::to_string(kSlotWidth);
  }
  for (const GameSource& source : input.games) {
    for (std::size_t i = 0; i < source.draws.size(); ++i) {
      const Draw& draw = source.draws[i];
      if (draw.number != static_cast<int>(i) + 1) {
        return std::string(RulesOf(draw.game).storeName) + " has draw " + std::to_string(draw.number) +
               " where draw " + std::to_string(i + 1) + " belongs";
      }
      if (auto problem = DrawProblem(draw)) {
        return std::string(RulesOf(draw.game).storeName) + " draw " + std::to_string(draw.number) + ": " + *problem;
      }
    }
  }
  return std::nullopt;
}

std::vector<SiteFile> BuildSite(const SiteInput& input) {
  const SiteLayout layout(input.base);
  std::vector<SiteFile> files;
  const std::string directory = DirectoryPage(layout.DirectorySlots());
  AddCopies(files, {SiteLayout::DirectoryPath(0), SiteLayout::DirectoryPath(1)}, kHtml, directory);

  StatusFields status;
  status.mark = input.mark;
  status.releases = input.releases;
  for (Game game : kAllGames) {
    const GameSource& source = input.games[static_cast<std::size_t>(GameIndex(game))];
    const int count = source.PublishedHistoryCount();
    status.drawCounts[static_cast<std::size_t>(GameIndex(game))] = count;
    AddCopies(files, {SiteLayout::HistoryPath(game, 0), SiteLayout::HistoryPath(game, 1)}, kText,
              HistoryText(source.draws, static_cast<std::size_t>(count)));
    const std::vector<Draw> shown = NewestFirst(source, input.resultDraws);
    files.push_back({layout.ResultPagePath(game), kHtml, Shared(ResultPage(game, shown))});
  }
  AddCopies(files, {SiteLayout::StatusPath(0), SiteLayout::StatusPath(1)}, kText, StatusText(status));

  for (PageFamily family : {PageFamily::Loto, PageFamily::Numbers}) {
    AddCopies(files, {layout.IndexPagePath(family, false), layout.IndexPagePath(family, true)}, kHtml,
              IndexPage(layout, family));
  }
  for (const auto& [fileName, address] : input.downloadLists) {
    AddCopies(files, {SiteLayout::DownloadFolder(0) + fileName, SiteLayout::DownloadFolder(1) + fileName}, kText,
              DownloadList(address));
  }
  return files;
}

}  // namespace norv::service
