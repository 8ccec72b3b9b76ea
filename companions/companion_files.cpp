#include <filesystem>
#include <system_error>

#include "companions/companion_host.h"
#include "store/paths.h"

namespace norv {

namespace {

class LocalFiles : public CompanionFiles {
 public:
  // A folder of that name is not a companion's executable.
  bool FileExists(const std::string& path) const override {
    std::error_code error;
    return std::filesystem::is_regular_file(PathFromUtf8(path), error);
  }
  bool FolderExists(const std::string& folder) const override {
    std::error_code error;
    return std::filesystem::is_directory(PathFromUtf8(folder), error);
  }
  ReplaceOutcome WriteAndReplace(const std::string& twinPath, const std::string& targetPath,
                                 std::string_view content) override {
    return WriteTwinAndReplace(twinPath, targetPath, content);
  }
};

}  // namespace

CompanionFiles& LocalCompanionFiles() {
  static LocalFiles files;
  return files;
}

}  // namespace norv
