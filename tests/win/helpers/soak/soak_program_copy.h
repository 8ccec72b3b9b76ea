#pragma once
// The test build as norv.exe in a scratch folder of its own, beside a
// stand-in message utility (nnote.exe) that only logs how it was started,
// so a notice never waits for a reader.

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/win/norv_process.h"

namespace norv::soak {

class ProgramCopy {
 public:
  ProgramCopy() : folder_(ScratchFolder()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    std::filesystem::create_directories(folder_, ignored);
    ready_ = Copy(L"norv_probed.exe", L"norv.exe") && Copy(L"companion_standin.exe", L"nnote.exe");
  }
  ProgramCopy(const ProgramCopy&) = delete;
  ProgramCopy& operator=(const ProgramCopy&) = delete;
  ~ProgramCopy() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  bool Ready() const { return ready_; }
  std::wstring Exe() const { return folder_ + L"norv.exe"; }

  // Starts of the message utility so far, one line each in its log.
  int MessageUtilityLaunches() const {
    std::ifstream log(std::filesystem::path(folder_ + L"launch.log"));
    int lines = 0;
    for (std::string line; std::getline(log, line);) ++lines;
    return lines;
  }

 private:
  static std::wstring ScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"norv_soak\\";
  }

  bool Copy(const wchar_t* built, const wchar_t* as) const {
    return ::CopyFileW(testing::BesideTestBinary(built).c_str(), (folder_ + as).c_str(), FALSE) != 0;
  }

  std::wstring folder_;
  bool ready_ = false;
};

}  // namespace norv::soak
