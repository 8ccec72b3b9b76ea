#pragma once
// The maker's store: the whole real history of the four games, kept current
// from the bank's files and read by the publisher.
//
// A store is one folder:
//   norv-store        marker, the line "norv-service store 1"
//   loto6.csv, miniloto.csv, numbers4.csv, numbers3.csv
//                     each game's draws from draw 1 on, no gap, in the
//                     snapshot's CSV layout (history_csv.h)
//   norv-store.lock   taken (flock) by whoever adds draws, so that two
//                     writers (a cron run and a serving process) queue up
// Every file is replaced in one step (durable_file.h), so a reader at any
// moment finds each file whole, with or without the latest additions.
//
// Use:
//   Store store = Store::Open("/srv/norv/store");           // throws StoreError
//   const std::vector<Draw>& loto6 = store.Draws(Game::Loto6);  // draw 1 first
//   AddResult result = store.Add(draws);                      // all or nothing

#include <array>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "service/draw.h"

namespace norv::service {

class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The four histories by GameIndex, each draw 1 first.
using Histories = std::array<std::vector<Draw>, 4>;

// A write that failed part-way: the games written before it keep their new
// draws, which `added` lists; every file is still whole.
class StoreWriteError : public StoreError {
 public:
  StoreWriteError(const std::string& reason, std::vector<Draw> added) : StoreError(reason), added_(std::move(added)) {}
  const std::vector<Draw>& added() const { return added_; }

 private:
  std::vector<Draw> added_;
};

struct AddResult {
  std::vector<Draw> added;            // newly stored, by game and draw number
  std::vector<std::string> refusals;  // one text per refused draw; when any, nothing was stored
};

class Store {
 public:
  // Makes a new store in `folder` from whole histories (draws 1..N, no
  // DrawProblem). The folder must not exist yet (its parent must) or be an
  // empty folder: a store is never overwritten. The store is built in a
  // scratch folder beside it and renamed into place, so it either appears
  // whole or not at all.
  static Store Create(const std::filesystem::path& folder, const Histories& histories);

  // Reads the store in `folder`; throws StoreError when it is not a store or
  // a history file is not whole.
  static Store Open(const std::filesystem::path& folder);

  // Reads the four histories again, for a process that outlives other
  // writers' additions.
  void Reload();

  const std::filesystem::path& folder() const { return folder_; }
  const std::vector<Draw>& Draws(Game game) const;
  const Histories& AllDraws() const { return histories_; }
  int NewestNumber(Game game) const;  // 0 for an empty history

  // Adds the offered draws, in any order. A draw already held with the same
  // content changes nothing. A draw that would leave a gap, differs from the
  // draw held under its number, or has a DrawProblem is refused with a text
  // that names the held and the offered version (Describe); then nothing at
  // all is stored. Otherwise each changed game's file is replaced in one step;
  // a failing write throws StoreWriteError and keeps the games written before
  // it. Throws StoreError when a history cannot be read again.
  AddResult Add(std::span<const Draw> offered);

 private:
  Store(std::filesystem::path folder, Histories histories);

  std::filesystem::path folder_;
  Histories histories_;
};

}  // namespace norv::service
