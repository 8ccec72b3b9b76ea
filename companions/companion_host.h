#pragma once
// What the companion operations need from the program around them: the
// message boxes and the shell. The main window supplies the Windows version
// (companion_host_win.h); tests supply fakes.

#include <string>
#include <string_view>

#include "store/file_replace.h"

namespace norv {

class CompanionHost {
 public:
  virtual ~CompanionHost() = default;
  // An information box with an OK button; returns once it is closed.
  virtual void ShowInfo(std::string_view caption, std::string_view text) = 0;
  // Starts a program with the shell's default action, normal show state and no
  // working folder. The result is not examined.
  virtual void OpenTarget(const std::string& path, const std::string& parameters) = 0;
};

// The program's numbered messages (the main window's ShowProgramMessage).
class ProgramMessages {
 public:
  virtual ~ProgramMessages() = default;
  // Returns once the box is closed.
  virtual void ShowProgramMessage(int code, int number) = 0;
};

// The file system as the companion operations see it. Paths are UTF-8.
class CompanionFiles {
 public:
  virtual ~CompanionFiles() = default;
  virtual bool FileExists(const std::string& path) const = 0;
  virtual bool FolderExists(const std::string& folder) const = 0;
  // The twin is written and flushed, then replaces the target in one step.
  virtual ReplaceOutcome WriteAndReplace(const std::string& twinPath, const std::string& targetPath,
                                         std::string_view content) = 0;
};

// The real file system; its writes go through `files`.
class DiskCompanionFiles : public CompanionFiles {
 public:
  explicit DiskCompanionFiles(FileSystem& files = LocalFileSystem()) : files_(files) {}
  bool FileExists(const std::string& path) const override;
  bool FolderExists(const std::string& folder) const override;
  ReplaceOutcome WriteAndReplace(const std::string& twinPath, const std::string& targetPath,
                                 std::string_view content) override;

 private:
  FileSystem& files_;
};

CompanionFiles& LocalCompanionFiles();

}  // namespace norv
