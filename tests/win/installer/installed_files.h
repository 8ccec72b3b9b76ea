#pragma once
// What the installer tests look at: the setup program and the uninstaller run
// to their very end, the folders and registry values they touch, and the
// target of a shortcut.

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace norv::testing {

inline constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Norvale";
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kSettingsKey[] = L"Software\\Pellmark\\T-NORV";

// The setup program of this build, beside the test program.
std::wstring SetupProgram();

// %LOCALAPPDATA%\Programs\Norvale\, the default program folder.
std::wstring DefaultProgramFolder();
// The user's Start-menu programs folder, ending in "\".
std::wstring StartMenuPrograms();

struct Finished {
  bool ended = false;  // false: still running at the time-out (then killed)
  DWORD exitCode = 0;  // of the program started, not of the copies it started
  std::chrono::milliseconds took{0};
};

// Runs the command line and waits until it and every process it started have
// ended: the uninstaller hands its work to a copy of itself and ends at once.
Finished RunToTheEnd(const std::wstring& commandLine,
                     std::chrono::milliseconds timeout = std::chrono::seconds(60));

std::optional<std::wstring> RegistryText(const wchar_t* key, const wchar_t* name);
std::optional<DWORD> RegistryNumber(const wchar_t* key, const wchar_t* name);
bool RegistryKeyExists(const wchar_t* key);
void SetRegistryText(const wchar_t* key, const wchar_t* name, const std::wstring& value);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// The program a shortcut (.lnk) starts, or empty.
std::wstring ShortcutTarget(const std::wstring& shortcut);

}  // namespace norv::testing
