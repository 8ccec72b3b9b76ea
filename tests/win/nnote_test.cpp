#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring NnotePath() {
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"nnote.exe";
}

// Starts nnote.exe with `arguments`, reads the text of the box it shows,
// dismisses the box and waits for the program to end.
std::wstring ShownText(const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + NnotePath() + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    return L"(not started)";
  }
  std::wstring text = L"(no box)";
  for (int i = 0; i < 200; ++i) {
    if (HWND box = ::FindWindowW(L"#32770", L"Norvale")) {
      wchar_t buffer[512] = L"";
      ::GetWindowTextW(::GetDlgItem(box, 0xFFFF), buffer, 512);
      text = buffer;
      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
      break;
    }
    ::Sleep(50);
  }
  if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.hProcess, 1);
    text += L" (did not end)";
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return text;
}

// Each box costs about two seconds to close under Wine: a few cases only.
TEST(Nnote, SaysWhichGameWasUpdated) {
  EXPECT_EQ(ShownText(L"1"), L"Numbers3 が更新されました");
}

TEST(Nnote, ReportsAnUnreachableResultService) {
  EXPECT_EQ(ShownText(L"6"), L"抽選結果の配信サービスに接続できませんでした\nインターネットへの接続を確認してください");
}

TEST(Nnote, ReportsADataFileThatCannotBeWritten) {
  EXPECT_EQ(ShownText(L"8"), L"データファイルに書き込めませんでした\nデータは更新されていません");
}

TEST(Nnote, ReportsADataFileThatCannotBeReadWithTheSecondNumberInBrackets) {
  EXPECT_EQ(ShownText(L"13 2"), L"データファイルを読み込めませんでした　【2】");
}

TEST(Nnote, Code20ShowsTheWinsTextItCarriesLineBreaksAndAll) {
  EXPECT_EQ(ShownText(L"20 マイ数字が当せんしました\nLOTO6 第2085回 1等 600000000円"),
            L"マイ数字が当せんしました\nLOTO6 第2085回 1等 600000000円");
  EXPECT_EQ(ShownText(L"20"), L"Norvale からのお知らせがあります");
}

TEST(Nnote, AnythingElseGetsTheGeneralNotice) {
  EXPECT_EQ(ShownText(L"x"), L"Norvale からのお知らせがあります");
}

}  // namespace
