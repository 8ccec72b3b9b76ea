#include "companions/companion_export.h"

#include <array>
#include <utility>

#include "companions/companion_lines.h"
#include "companions/companion_table.h"
#include "resources/companion_strings.h"

namespace norv {

namespace {

const DrawTable& ProcessTable(Game game) { return GameDataOf(game).table; }

}  // namespace

const CompanionInfo* FindExportingCompanion(int id) {
  const CompanionInfo* companion = FindCompanion(id);
  return companion && companion->game && !companion->dataFile.empty() && companion->options ? companion : nullptr;
}

std::string CompanionDataFolder(const CompanionFiles& files, std::string_view makerFolder,
                                std::string_view section) {
  std::string folder = std::string(makerFolder) + std::string(section) + "\\";
  return files.FolderExists(folder) ? folder : std::string();
}

CompanionExport::CompanionExport(const CompanionLauncher& launcher, CompanionFiles& files,
                                 ProgramMessages& messages, std::string makerFolder, TableOf tables)
    : launcher_(launcher),
      files_(files),
      messages_(messages),
      makerFolder_(std::move(makerFolder)),
      tables_(tables ? std::move(tables) : TableOf(ProcessTable)) {}

void CompanionExport::ExportCompanionData(int id, const Settings& settings) const {
  const CompanionInfo* companion = FindExportingCompanion(id);
  if (!companion) return;
  const std::array<bool, 4>& options = settings.*(companion->options);
  if (options[0]) WriteDataFile(id);
  if (options[1]) launcher_.Launch(id, "");
  if (options[2]) launcher_.Launch(id, text::kCheckModeParameter);
}

// Alder keeps its data beside its program; the others in a folder of their
// own below the maker's folder. An Alder without "dir" has no folder: its
// file would otherwise land in the root of the current drive.
std::string CompanionExport::DataFolder(int id) const {
  if (id == kAlderId) {
    const std::string folder = launcher_.InstallFolder(id);
    return folder.empty() ? folder : folder + "\\";
  }
  const CompanionInfo* companion = FindCompanion(id);
  return CompanionDataFolder(files_, makerFolder_, companion->section);
}

// The old file stays whole until the new one is complete and flushed, and is
// then replaced in one step, so a companion never finds a half-written file.
bool CompanionExport::WriteDataFile(int id) const {
  const CompanionInfo* companion = FindExportingCompanion(id);
  if (!companion) return false;
  bool written = false;
  try {
    const std::string folder = DataFolder(id);
    if (!folder.empty()) {
      const std::string content = CompanionFileContent(*companion->game, tables_(*companion->game));
      written = files_.WriteAndReplace(folder + std::string(companion->tempFile),
                                       folder + std::string(companion->dataFile), content) == ReplaceOutcome::Replaced;
    }
  } catch (...) {
    // Out of memory while building the content: reported like any failed write.
    written = false;
  }
  if (!written) messages_.ShowProgramMessage(companion->exportFailureCode, 0);
  return written;
}

}  // namespace norv
