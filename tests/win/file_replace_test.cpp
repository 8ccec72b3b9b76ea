#include "store/file_replace.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/handles_win.h"
#include "base/unicode_win.h"
#include "store/draw_table.h"

namespace norv {
namespace {

// A fresh folder under the user's temporary folder, removed with its files.
class WinTempFolder {
 public:
  explicit WinTempFolder(const std::wstring& leaf) {
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::wstring(temp) + leaf + L"_" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(path_.c_str(), nullptr);
  }
  WinTempFolder(const WinTempFolder&) = delete;
  WinTempFolder& operator=(const WinTempFolder&) = delete;
  ~WinTempFolder() {
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        ::DeleteFileW((path_ + L"\\" + found.cFileName).c_str());
      } while (::FindNextFileW(search, &found));
      ::FindClose(search);
    }
    ::RemoveDirectoryW(path_.c_str());
  }

  std::string Folder() const { return Narrow(path_) + "\\"; }
  std::string File(const std::string& name) const { return Folder() + name; }

  void Write(const std::string& name, const std::string& content) const {
    const UniqueKernelHandle file = AdoptFileHandle(::CreateFileW(
        Widen(File(name)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file && ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
  }
  std::string Read(const std::string& name) const {
    const UniqueKernelHandle file = AdoptFileHandle(::CreateFileW(Widen(File(name)).c_str(), GENERIC_READ,
                                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string content(4096, '\0');
    DWORD got = 0;
    if (!file || !::ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &got, nullptr)) {
      return "<unreadable>";
    }
    content.resize(got);
    return content;
  }
  bool Exists(const std::string& name) const {
    return ::GetFileAttributesW(Widen(File(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

 private:
  std::wstring path_;
};

// Another program reading the data file the usual way: reads and writes
// shared, deletion and renaming not.
UniqueKernelHandle HoldOpen(const std::string& path) {
  return AdoptFileHandle(::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

class FileReplaceWin : public ::testing::Test {
 protected:
  std::string Data() const { return folder_.File("dat_mini.tan"); }
  std::string Twin() const { return folder_.File("tmp_mini.tan"); }

  WinTempFolder folder_{L"norv_replace"};
};

TEST_F(FileReplaceWin, AFullRewriteReplacesTheDataFile) {
  folder_.Write("dat_mini.tan", "old content");
  EXPECT_EQ(WriteTwinAndReplace(Twin(), Data(), "new"), ReplaceOutcome::Replaced);
  EXPECT_EQ(folder_.Read("dat_mini.tan"), "new");
  EXPECT_FALSE(folder_.Exists("tmp_mini.tan"));
}

TEST_F(FileReplaceWin, AnAppendAddsExactlyTheTail) {
  folder_.Write("dat_mini.tan", "record 1\r\n");
  EXPECT_EQ(AppendRecordViaTwin(Twin(), Data(), "record 2\r\n"), ReplaceOutcome::Replaced);
  EXPECT_EQ(folder_.Read("dat_mini.tan"), "record 1\r\nrecord 2\r\n");
  EXPECT_FALSE(folder_.Exists("tmp_mini.tan"));
}

TEST_F(FileReplaceWin, AnAppendNeverCreatesADataFile) {
  EXPECT_EQ(AppendRecordViaTwin(Twin(), Data(), "record\r\n"), ReplaceOutcome::TwinFailed);
  EXPECT_FALSE(folder_.Exists("dat_mini.tan"));
  EXPECT_FALSE(folder_.Exists("tmp_mini.tan"));
}

TEST_F(FileReplaceWin, ADataFileHeldOpenElsewhereKeepsItsContent) {
  folder_.Write("dat_mini.tan", "kept");
  {
    const UniqueKernelHandle reader = HoldOpen(Data());
    ASSERT_TRUE(reader);
    EXPECT_EQ(WriteTwinAndReplace(Twin(), Data(), "new"), ReplaceOutcome::ReplaceFailed);
    EXPECT_FALSE(folder_.Exists("tmp_mini.tan"));
    EXPECT_EQ(AppendRecordViaTwin(Twin(), Data(), "more"), ReplaceOutcome::ReplaceFailed);
    EXPECT_FALSE(folder_.Exists("tmp_mini.tan"));
    EXPECT_EQ(folder_.Read("dat_mini.tan"), "kept");
  }
  EXPECT_EQ(AppendRecordViaTwin(Twin(), Data(), "more"), ReplaceOutcome::Replaced);
  EXPECT_EQ(folder_.Read("dat_mini.tan"), "keptmore");
}

// The twin copies the data file's attributes; a read-only twin could be
// neither appended to nor removed. Whether a read-only target may then be
// replaced differs between systems; either way nothing is half done.
TEST_F(FileReplaceWin, AReadOnlyDataFileIsAppendedOrKeptWithNoTwinLeft) {
  folder_.Write("dat_mini.tan", "kept");
  const std::wstring data = Widen(Data());
  ASSERT_TRUE(::SetFileAttributesW(data.c_str(), FILE_ATTRIBUTE_READONLY));
  const ReplaceOutcome outcome = AppendRecordViaTwin(Twin(), Data(), "more");
  EXPECT_NE(outcome, ReplaceOutcome::TwinFailed);
  EXPECT_FALSE(folder_.Exists("tmp_mini.tan"));
  EXPECT_EQ(folder_.Read("dat_mini.tan"), outcome == ReplaceOutcome::Replaced ? "keptmore" : "kept");
  ::SetFileAttributesW(data.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The data folder lies under the user's profile, whose name may be Japanese.
TEST(DataFolderWin, AFolderWithANonAsciiNameWorks) {
  const WinTempFolder folder(L"norv_\u30c7\u30fc\u30bf");
  const std::string record = "0001" "123" "000001" "000002" "000003" "00004" "00005" "\r\n";
  folder.Write("dat_num3.tan", record);
  EXPECT_EQ(AppendRecordViaTwin(folder.File("tmp_num3.tan"), folder.File("dat_num3.tan"), record),
            ReplaceOutcome::Replaced);
  ASSERT_TRUE(LoadDrawTable(Game::Numbers3, folder.Folder(), std::stop_token{}, ReloadHooks{}));
  EXPECT_EQ(GameDataOf(Game::Numbers3).drawCount, 2);
  EXPECT_EQ(GameDataOf(Game::Numbers3).table.rows[0], (DrawRow{1, 1, 2, 3, 1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace norv
