#pragma once
// After a check brought new draws: rewriting a companion's data file from the
// game's whole table, then starting the companion when its options ask for it.

#include <functional>
#include <string>
#include <string_view>

#include "companions/companion_host.h"
#include "companions/companion_launch.h"
#include "companions/companion_table.h"
#include "settings/settings.h"
#include "store/draw_table.h"

namespace norv {

// The row of companions 1 … 5, which take a data file; nullptr for any other id.
const CompanionInfo* FindExportingCompanion(int id);

// MakerFolder + section + "\" when that folder exists, else empty. The
// program never creates it.
std::string CompanionDataFolder(const CompanionFiles& files, std::string_view makerFolder,
                                std::string_view section);

class CompanionExport {
 public:
  using TableOf = std::function<const DrawTable&(Game)>;

  // `tables` defaults to the process-wide draw tables.
  CompanionExport(const CompanionLauncher& launcher, CompanionFiles& files, ProgramMessages& messages,
                  std::string makerFolder, TableOf tables = {});

  // Option 0: the data file; option 1: a launch without parameters; option 2:
  // a launch with "-c". Each step runs whatever became of the one before.
  // Runs on the checker thread; a failure message holds it until closed.
  void ExportCompanionData(int id, const Settings& settings) const;

  // False (after the message) when the file could not be written.
  bool WriteDataFile(int id) const;

 private:
  std::string DataFolder(int id) const;

  const CompanionLauncher& launcher_;
  CompanionFiles& files_;
  ProgramMessages& messages_;
  std::string makerFolder_;
  TableOf tables_;
};

}  // namespace norv
