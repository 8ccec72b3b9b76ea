#include "app/open_target_win.h"

#include <windows.h>
#include <shellapi.h>

#include "acquisition/service_addresses.h"
#include "app/main_window_win.h"
#include "app/process_values.h"
#include "base/unicode_win.h"
#include "resources/strings.h"

namespace norv {

std::string TargetOf(TargetKind kind) {
  switch (kind) {
    case TargetKind::SupportPage:
      return AppServiceAddresses().supportPage;
    case TargetKind::BankPage:
      return AppServiceAddresses().bankPage;
    case TargetKind::MakerPage:
      return AppServiceAddresses().makerPage;
    case TargetKind::HelpFile:
      return ProgramFolder + std::string(text::kHelpFile);
    case TargetKind::MessageUtility:
      return ProgramFolder + std::string(text::kMessageUtility);
  }
  return {};
}

void OpenTarget(TargetKind kind, const std::string& parameters) {
  OpenPath(TargetOf(kind), parameters);
}

void OpenPath(const std::string& pathOrAddress, const std::string& parameters) {
  const std::wstring file = Widen(pathOrAddress);
  const std::wstring arguments = Widen(parameters);
  ::ShellExecuteW(MainWindowHandle(), nullptr, file.c_str(), arguments.empty() ? nullptr : arguments.c_str(),
                  nullptr, SW_SHOWNORMAL);
}

}  // namespace norv
