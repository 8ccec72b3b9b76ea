#include "service/store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <system_error>
#include <utility>

#include "service/durable_file.h"
#include "service/history_csv.h"

namespace norv::service {

namespace {

constexpr std::string_view kMarkerFile = "norv-store";
constexpr std::string_view kMarkerText = "norv-service store 1\n";
constexpr std::string_view kLockFile = "norv-store.lock";

std::filesystem::path HistoryPath(const std::filesystem::path& folder, Game game) {
  return folder / HistoryFileName(game);
}

std::filesystem::path Cleaned(const std::filesystem::path& folder) {
  std::filesystem::path clean = folder.lexically_normal();
  if (!clean.has_filename() && clean.has_parent_path()) clean = clean.parent_path();
  return clean;
}

std::vector<Draw> ReadHistory(const std::filesystem::path& folder, Game game) {
  const std::filesystem::path path = HistoryPath(folder, game);
  try {
    return ReadHistoryCsv(game, ReadWholeFile(path));
  } catch (const HistoryFormatError& error) {
    throw StoreError(path.string() + ": " + error.what());
  } catch (const std::system_error& error) {
    throw StoreError(error.what());
  }
}

void CheckWhole(Game game, const std::vector<Draw>& draws) {
  for (std::size_t i = 0; i < draws.size(); ++i) {
    const std::string name(RulesOf(game).storeName);
    if (draws[i].game != game || draws[i].number != static_cast<int>(i + 1)) {
      throw StoreError(name + ": the history does not hold draw " + std::to_string(i + 1) + " in its place");
    }
    if (const auto problem = DrawProblem(draws[i])) throw StoreError(Describe(draws[i]) + ": " + *problem);
  }
}

bool IsMissingOrEmptyFolder(const std::filesystem::path& folder) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(folder, error);
  if (status.type() == std::filesystem::file_type::not_found) return true;
  return std::filesystem::is_directory(status) && std::filesystem::is_empty(folder, error) && !error;
}

[[noreturn]] void RefuseExisting(const std::filesystem::path& folder) {
  throw StoreError(folder.string() + " already exists and is not an empty folder; a store is never overwritten");
}

// A scratch folder beside `folder`, removed unless it was renamed into place.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::filesystem::path& folder) {
    const std::filesystem::path parent = folder.has_parent_path() ? folder.parent_path() : ".";
    std::string pattern = (parent / ("." + folder.filename().string() + ".init-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw StoreError(
          std::system_error(errno, std::generic_category(), "cannot create a folder beside " + folder.string()).what());
    }
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  void Release() { path_.clear(); }

 private:
  std::filesystem::path path_;
};

std::string Versions(const Draw* held, const Draw& offered) {
  return "\n  held:    " + (held ? Describe(*held) : std::string("(no draw)")) + "\n  offered: " + Describe(offered);
}

// The draws a game gains from the offered ones, or the refusals.
struct GamePlan {
  std::vector<Draw> additions;
  std::vector<std::string> refusals;
};

GamePlan PlanGame(const std::vector<Draw>& held, std::vector<Draw> offered) {
  std::stable_sort(offered.begin(), offered.end(), [](const Draw& a, const Draw& b) { return a.number < b.number; });
  GamePlan plan;
  const auto drawAt = [&](std::size_t number) -> const Draw* {
    if (number <= held.size()) return &held[number - 1];
    if (number <= held.size() + plan.additions.size()) return &plan.additions[number - held.size() - 1];
    return nullptr;
  };
  for (const Draw& draw : offered) {
    const std::string name = std::string(RulesOf(draw.game).storeName) + " draw " + std::to_string(draw.number);
    if (const auto problem = DrawProblem(draw)) {
      plan.refusals.push_back(name + " cannot be stored: " + *problem + Versions(nullptr, draw));
      continue;
    }
    const std::size_t number = static_cast<std::size_t>(draw.number);
    const std::size_t newest = held.size() + plan.additions.size();
    if (const Draw* existing = drawAt(number)) {
      if (!(*existing == draw))
        plan.refusals.push_back(name + " differs from the draw held" + Versions(existing, draw));
    } else if (number == newest + 1) {
      plan.additions.push_back(draw);
    } else {
      plan.refusals.push_back(name + " would leave a gap after draw " + std::to_string(newest) +
                              Versions(newest > 0 ? drawAt(newest) : nullptr, draw));
    }
  }
  return plan;
}

}  // namespace

Store::Store(std::filesystem::path folder, Histories histories)
    : folder_(std::move(folder)), histories_(std::move(histories)) {}

Store Store::Create(const std::filesystem::path& requested, const Histories& histories) {
  const std::filesystem::path folder = Cleaned(requested);
  for (Game game : kAllGames) CheckWhole(game, histories[static_cast<std::size_t>(GameIndex(game))]);
  if (!IsMissingOrEmptyFolder(folder)) RefuseExisting(folder);
  ScratchFolder scratch(folder);
  try {
    for (Game game : kAllGames) {
      ReplaceFileDurably(HistoryPath(scratch.path(), game),
                         WriteHistoryCsv(game, histories[static_cast<std::size_t>(GameIndex(game))]));
    }
    ReplaceFileDurably(scratch.path() / kMarkerFile, kMarkerText);
    // mkdtemp makes the folder private; a store is as readable as its files.
    if (::chmod(scratch.path().c_str(), 0755) != 0) {
      throw std::system_error(errno, std::generic_category(), "cannot set the mode of " + scratch.path().string());
    }
    if (::rename(scratch.path().c_str(), folder.c_str()) != 0) {
      if (errno == ENOTEMPTY || errno == EEXIST || errno == ENOTDIR) RefuseExisting(folder);
      throw std::system_error(errno, std::generic_category(), "cannot rename the new store to " + folder.string());
    }
    scratch.Release();
    SyncFolder(folder.has_parent_path() ? folder.parent_path() : ".");
  } catch (const std::system_error& error) {
    throw StoreError(error.what());
  }
  return Store(folder, histories);
}

Store Store::Open(const std::filesystem::path& requested) {
  const std::filesystem::path folder = Cleaned(requested);
  std::string marker;
  try {
    marker = ReadWholeFile(folder / kMarkerFile);
  } catch (const std::system_error&) {
    throw StoreError(folder.string() + " is not a store (no readable " + std::string(kMarkerFile) +
                     " file); make one with norv-service init");
  }
  if (marker != kMarkerText) {
    throw StoreError((folder / kMarkerFile).string() + " is not the marker of a store this program knows");
  }
  Store store(folder, {});
  store.Reload();
  return store;
}

void Store::Reload() {
  for (Game game : kAllGames) histories_[static_cast<std::size_t>(GameIndex(game))] = ReadHistory(folder_, game);
}

const std::vector<Draw>& Store::Draws(Game game) const { return histories_[static_cast<std::size_t>(GameIndex(game))]; }

int Store::NewestNumber(Game game) const { return static_cast<int>(Draws(game).size()); }

AddResult Store::Add(std::span<const Draw> offered) {
  AddResult result;
  if (offered.empty()) return result;
  std::optional<FileLock> lock;
  try {
    lock.emplace(folder_ / kLockFile);
  } catch (const std::system_error& error) {
    throw StoreError(error.what());
  }
  std::array<GamePlan, 4> plans;
  for (Game game : kAllGames) {
    std::vector<Draw> offeredHere;
    std::copy_if(offered.begin(), offered.end(), std::back_inserter(offeredHere),
                 [game](const Draw& draw) { return draw.game == game; });
    if (offeredHere.empty()) continue;
    // Another writer may have added draws since this store was read.
    auto& held = histories_[static_cast<std::size_t>(GameIndex(game))];
    held = ReadHistory(folder_, game);
    plans[static_cast<std::size_t>(GameIndex(game))] = PlanGame(held, std::move(offeredHere));
  }
  for (GamePlan& plan : plans) {
    std::move(plan.refusals.begin(), plan.refusals.end(), std::back_inserter(result.refusals));
  }
  if (!result.refusals.empty()) return result;
  for (Game game : kAllGames) {
    const GamePlan& plan = plans[static_cast<std::size_t>(GameIndex(game))];
    if (plan.additions.empty()) continue;
    std::vector<Draw> grown = Draws(game);
    grown.insert(grown.end(), plan.additions.begin(), plan.additions.end());
    try {
      ReplaceFileDurably(HistoryPath(folder_, game), WriteHistoryCsv(game, grown));
    } catch (const std::system_error& error) {
      throw StoreWriteError(error.what(), std::move(result.added));
    }
    histories_[static_cast<std::size_t>(GameIndex(game))] = std::move(grown);
    result.added.insert(result.added.end(), plan.additions.begin(), plan.additions.end());
  }
  return result;
}

}  // namespace norv::service
