#include "companions/companion_launch.h"

#include "companions/companion_table.h"
#include "resources/companion_strings.h"
#include "settings/setting_access.h"

namespace norv {

namespace {

std::string ExecutablePath(std::string_view folder, const CompanionInfo& companion) {
  return std::string(folder) + "\\" + std::string(companion.executable);
}

std::string NotInstalledText(const CompanionInfo& companion) {
  return std::string(companion.name) + std::string(text::kNotInstalled);
}

// "dat" without "dir" is what versions before the listed one leave behind.
std::string OldVersionText(const CompanionInfo& companion) {
  return std::string(companion.name) + std::string(companion.versionText) + std::string(text::kNotSupportedBefore) +
         std::string(text::kOrOpen) + std::string(text::kNotInstalled) + std::string(text::kOrClose);
}

}  // namespace

std::string CompanionLauncher::ReadValue(int id, std::string_view name) const {
  const CompanionInfo* companion = FindCompanion(id);
  if (!companion) return {};
  return ReadSetting(storage_, companion->section, name, "");
}

std::string CompanionLauncher::InstallFolder(int id) const { return ReadValue(id, "dir"); }

void CompanionLauncher::ShowUnavailable(std::string_view text) const {
  host_.ShowInfo(text::kUnavailableCaption, text);
}

bool CompanionLauncher::IsInstalled(int id, bool showMessages) const {
  const CompanionInfo* companion = FindCompanion(id);
  if (!companion) return false;

  if (ReadValue(id, "dat").empty()) {
    if (showMessages) {
      // A copy installed without registering itself still starts from its
      // default folder; the folder text already ends in a backslash.
      const std::string fallback = std::string(companion->defaultFolder) + std::string(companion->executable);
      if (files_.FileExists(fallback)) {
        host_.OpenTarget(fallback, "");
      } else {
        ShowUnavailable(NotInstalledText(*companion));
      }
    }
    return false;
  }

  const std::string folder = InstallFolder(id);
  if (folder.empty()) {
    if (showMessages) ShowUnavailable(OldVersionText(*companion));
    return false;
  }

  if (!files_.FileExists(ExecutablePath(folder, *companion))) {
    if (showMessages) ShowUnavailable(NotInstalledText(*companion));
    return false;
  }
  return true;
}

// Without a recorded folder the path would point at the root of the current
// drive, and whatever sits there under that name would be started.
void CompanionLauncher::Launch(int id, std::string_view parameters) const {
  const CompanionInfo* companion = FindCompanion(id);
  if (!companion) return;
  const std::string folder = InstallFolder(id);
  if (folder.empty()) return;
  host_.OpenTarget(ExecutablePath(folder, *companion), std::string(parameters));
}

void CompanionLauncher::OnCompanionButton(int id) const {
  if (IsInstalled(id, true)) Launch(id, "");
}

}  // namespace norv
