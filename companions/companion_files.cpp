#include <filesystem>
#include <system_error>

#include "companions/companion_host.h"
#include "store/paths.h"

namespace norv {

// A folder of that name is not a companion's executable.
bool DiskCompanionFiles::FileExists(const std::string& path) const {
  std::error_code error;
  return std::filesystem::is_regular_file(PathFromUtf8(path), error);
}

bool DiskCompanionFiles::FolderExists(const std::string& folder) const {
  std::error_code error;
  return std::filesystem::is_directory(PathFromUtf8(folder), error);
}

ReplaceOutcome DiskCompanionFiles::WriteAndReplace(const std::string& twinPath, const std::string& targetPath,
                                                   std::string_view content) {
  return WriteTwinAndReplace(twinPath, targetPath, content, files_);
}

CompanionFiles& LocalCompanionFiles() {
  static DiskCompanionFiles files;
  return files;
}

}  // namespace norv
