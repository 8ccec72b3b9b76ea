#pragma once
// The files the update tool deals with: the release of the installed
// norv.exe, and the downloaded setup program in the user's temporary folder.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/handles_win.h"

namespace norv {

// The release of the program at `path` from its version resource (5.1 is
// 51); nothing when it has none or cannot be read.
std::optional<int> InstalledRelease(const std::wstring& path);

// A fresh file in the user's temporary folder, removed with this object
// unless kept. Written piece by piece, then locked against writers and hashed.
class DownloadedSetup {
 public:
  DownloadedSetup() = default;
  ~DownloadedSetup();
  DownloadedSetup(const DownloadedSetup&) = delete;
  DownloadedSetup& operator=(const DownloadedSetup&) = delete;

  // Makes the new file; false when no fresh file can be made.
  bool Create();
  bool Write(std::string_view piece);
  // Closes the writing handle, reopens the file so that nobody may write it
  // while it is held, and gives its SHA-256 (64 hex digits; empty on failure).
  std::string LockAndHash();
  // Leaves the file in place when this object goes (its path is reported).
  void Keep() { keep_ = true; }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
  UniqueKernelHandle file_;
  bool keep_ = false;
};

}  // namespace norv
