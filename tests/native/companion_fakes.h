#pragma once
// Recording stand-ins for the shell, the message boxes and the file system of
// the companion operations.

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "companions/companion_host.h"

namespace norv::testing {

struct Opened {
  std::string path;
  std::string parameters;
  bool operator==(const Opened&) const = default;
};

class RecordingCompanionHost : public CompanionHost {
 public:
  void ShowInfo(std::string_view caption, std::string_view text) override {
    infos.emplace_back(std::string(caption), std::string(text));
  }
  void OpenTarget(const std::string& path, const std::string& parameters) override {
    opened.push_back({path, parameters});
  }
  std::vector<std::pair<std::string, std::string>> infos;  // caption, text
  std::vector<Opened> opened;
};

class RecordingMessages : public ProgramMessages {
 public:
  void ShowProgramMessage(int code, int number) override { shown.emplace_back(code, number); }
  std::vector<std::pair<int, int>> shown;
};

class FakeFiles : public CompanionFiles {
 public:
  bool FileExists(const std::string& path) const override { return files.count(path) > 0; }
  bool FolderExists(const std::string& folder) const override { return folders.count(folder) > 0; }
  ReplaceOutcome WriteAndReplace(const std::string& twinPath, const std::string& targetPath,
                                 std::string_view content) override {
    twins.push_back(twinPath);
    if (outcome == ReplaceOutcome::Replaced) written[targetPath] = std::string(content);
    return outcome;
  }

  std::set<std::string> files;
  std::set<std::string> folders;
  ReplaceOutcome outcome = ReplaceOutcome::Replaced;
  std::vector<std::string> twins;
  std::map<std::string, std::string> written;  // target path, content
};

}  // namespace norv::testing
