#pragma once
// Whether a companion is installed, and starting it. Nothing is cached: the
// registry section and the executable are looked at anew every time.

#include <string>
#include <string_view>

#include "companions/companion_host.h"
#include "settings/settings_storage.h"

namespace norv {

class CompanionLauncher {
 public:
  CompanionLauncher(const SettingsStorage& storage, const CompanionFiles& files, CompanionHost& host)
      : storage_(storage), files_(files), host_(host) {}

  // showMessages: the user asked (button, tray menu, options dialog); the
  // reasons are then shown, and a companion found only in its default folder
  // is started from there. Never writes to the registry.
  bool IsInstalled(int id, bool showMessages) const;

  // Starts "dir" + "\" + executable with the parameters; a missing file fails
  // silently.
  void Launch(int id, std::string_view parameters) const;

  // ToolButton5Click … ToolButton9Click, also N41 … N45.
  void OnCompanionButton(int id) const;

  // The companion's "dir" as the registry holds it now; empty when absent.
  std::string InstallFolder(int id) const;

 private:
  std::string ReadValue(int id, std::string_view name) const;
  void ShowUnavailable(std::string_view text) const;

  const SettingsStorage& storage_;
  const CompanionFiles& files_;
  CompanionHost& host_;
};

}  // namespace norv
