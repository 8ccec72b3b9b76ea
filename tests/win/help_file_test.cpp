// The three ways to the help file open "norv.chm" in the program folder. The
// test prefix opens .chm files with a stand-in viewer for the time of a test,
// so the shell's real target is seen and no help viewer appears.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/command_ids.h"
#include "base/unicode_win.h"
#include "norv_process.h"
#include "settings/options_controls_win.h"
#include "tests/win/companion_test_support.h"

namespace norv {
namespace {

using testing::NorvProcess;
using testing::WaitForLaunches;

constexpr wchar_t kStandinClass[] = L"NorvaleTest.HelpViewer";

std::optional<std::wstring> ClassesDefault(const std::wstring& key) {
  wchar_t data[256] = {};
  DWORD size = sizeof data;
  if (::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(data);
}

void SetClassesDefault(const std::wstring& key, const std::wstring& value) {
  ::RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Wine's shell reads associations from HKEY_CLASSES_ROOT alone (a per-user
// class is not looked at), so the stand-in takes ".chm" there and gives it
// back afterwards.
class HelpFile : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ClearProgramRegistry();
    testing::PrepareEmptyDataFiles();
    viewer_ = testing::ScratchFolder(L"help_viewer");
    ASSERT_TRUE(testing::InstallStandin(viewer_, L"viewer.exe"));
    previous_ = ClassesDefault(L".chm");
    SetClassesDefault(std::wstring(kStandinClass) + L"\\shell\\open\\command",
                      L"\"" + viewer_ + L"viewer.exe\" \"%1\"");
    SetClassesDefault(L".chm", kStandinClass);
  }
  void TearDown() override {
    if (previous_) {
      SetClassesDefault(L".chm", *previous_);
    } else {
      ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L".chm");
    }
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kStandinClass);
    testing::ClearProgramRegistry();
    testing::RemoveFolder(viewer_);
  }

  static std::string HelpFileBesideTheProgram() { return Narrow(testing::BuildFolder()) + "norv.chm"; }

  std::wstring viewer_;
  std::optional<std::wstring> previous_;
};

TEST_F(HelpFile, TheBuildPutsItBesideTheProgram) {
  EXPECT_NE(::GetFileAttributesW(Widen(HelpFileBesideTheProgram()).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(HelpFile, HelpButtonTrayItemAndOptionsHelpButtonEachOpenItFromTheProgramFolder) {
  NorvProcess norv;
  HWND window = norv.WaitForMainWindow();
  ASSERT_NE(window, nullptr);

  ::PostMessageW(window, WM_COMMAND, kToolButtonFirst + 12, 0);  // ToolButton13
  EXPECT_EQ(WaitForLaunches(viewer_, 1), std::vector<std::string>{HelpFileBesideTheProgram()});

  ::PostMessageW(window, WM_COMMAND, kN7, 0);
  EXPECT_EQ(WaitForLaunches(viewer_, 2).size(), 2u);

  ::PostMessageW(window, WM_COMMAND, kToolButtonFirst + 3, 0);  // ToolButton4, the options dialog
  HWND options = testing::WaitForWindow(
      [&] { return testing::FindProcessWindow(norv.Id(), L"#32770", L"オプション設定"); }, std::chrono::seconds(10));
  ASSERT_NE(options, nullptr);
  testing::PressButton(options, options::Button4);
  EXPECT_EQ(WaitForLaunches(viewer_, 3),
            (std::vector<std::string>(3, HelpFileBesideTheProgram())));
}

}  // namespace
}  // namespace norv
