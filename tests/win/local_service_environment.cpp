// Every copy of norv.exe a test starts inherits this process's environment.
// Pointing the service addresses at the maker's service in test mode keeps a check
// that any test happens to start (a start-up check, a click on the check
// button) on 127.0.0.1.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "acquisition/environment.h"
#include "base/unicode_win.h"
#include "tests/win/local_services.h"

namespace norv {
namespace {

// Without the service a closed port still keeps every request local.
std::string LocalServiceOrigin() {
  const int port = testing::LocalServicePort("service.port");
  return "http://127.0.0.1:" + std::to_string(port > 0 ? port : 9);
}

class LocalServiceEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const std::string origin = LocalServiceOrigin();
    Set(L"NORVALE_DIRECTORY_1", origin + "/dir1/dir.cgi?SFT=0");
    Set(L"NORVALE_DIRECTORY_2", origin + "/dir2/dir.cgi?SFT=0");
    Set(L"NORVALE_DOWNLOAD_1", origin + "/dlf1/");
    Set(L"NORVALE_DOWNLOAD_2", origin + "/dlf2/");
  }

 private:
  static void Set(const wchar_t* name, const std::string& value) {
    ::SetEnvironmentVariableW(name, Widen(value).c_str());
  }
};

[[maybe_unused]] ::testing::Environment* const registered =
    ::testing::AddGlobalTestEnvironment(new LocalServiceEnvironment);

}  // namespace
}  // namespace norv
