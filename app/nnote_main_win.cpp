// nnote.exe: the maker's message utility. Norvale starts it with a number (and
// sometimes a second one) instead of showing a box itself, so that a notice
// from the checker thread never waits on the user.

#include <windows.h>

#include <cwctype>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kCaption[] = L"Norvale";

struct Notice {
  std::wstring text;
  UINT icon;
};

// The command line after the program name.
const wchar_t* AfterProgramName(const wchar_t* line) {
  const wchar_t* p = line;
  if (*p == L'"') {
    for (++p; *p && *p != L'"'; ++p) {
    }
    if (*p) {
      ++p;
    }
  } else {
    for (; *p && *p != L' ' && *p != L'\t'; ++p) {
    }
  }
  return p;
}

// The command line after the program name, split at blanks.
std::vector<std::wstring> Arguments(const wchar_t* line) {
  std::vector<std::wstring> words;
  const wchar_t* p = AfterProgramName(line);
  while (*p) {
    for (; *p == L' ' || *p == L'\t'; ++p) {
    }
    const wchar_t* start = p;
    for (; *p && *p != L' ' && *p != L'\t'; ++p) {
    }
    if (p != start) {
      words.emplace_back(start, p);
    }
  }
  return words;
}

// A plain decimal number of at most nine digits; anything else is no number.
std::optional<int> ParseNumber(const std::wstring& word) {
  if (word.empty() || word.size() > 9) {
    return std::nullopt;
  }
  int value = 0;
  for (wchar_t ch : word) {
    if (ch < L'0' || ch > L'9') {
      return std::nullopt;
    }
    value = value * 10 + (ch - L'0');
  }
  return value;
}

Notice NoticeFor(std::optional<int> code) {
  constexpr UINT kInfo = MB_ICONINFORMATION;
  constexpr UINT kWarning = MB_ICONWARNING;
  switch (code.value_or(-1)) {
    case 0:
      return {L"Numbers4 が更新されました\nNumbers3 が更新されました", kInfo};
    case 1:
      return {L"Numbers3 が更新されました", kInfo};
    case 2:
      return {L"Numbers4 が更新されました", kInfo};
    case 3:
      return {L"MiniLOTO が更新されました", kInfo};
    case 4:
      return {L"LOTO6 が更新されました", kInfo};
    case 6:
      return {L"抽選結果の配信サービスに接続できませんでした\nインターネットへの接続を確認してください", kWarning};
    case 8:
      return {L"データファイルに書き込めませんでした\nデータは更新されていません", kWarning};
    case 13:
      return {L"データファイルを読み込めませんでした", kWarning};
    default:
      return {L"Norvale からのお知らせがあります", kInfo};
  }
}

// Code 20 carries its own text: the rest of the command line, line breaks
// and all (Norvale's notice of new wins of the user's numbers).
constexpr int kTextCode = 20;

std::wstring TextAfterCode(const wchar_t* line) {
  const wchar_t* p = AfterProgramName(line);
  for (; *p == L' ' || *p == L'\t'; ++p) {
  }
  for (; *p && *p != L' ' && *p != L'\t'; ++p) {
  }
  return *p ? std::wstring(p + 1) : std::wstring();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::vector<std::wstring> args = Arguments(::GetCommandLineW());
  const std::optional<int> code = args.empty() ? std::nullopt : ParseNumber(args[0]);
  if (code == kTextCode) {
    const std::wstring text = TextAfterCode(::GetCommandLineW());
    if (!text.empty()) {
      ::MessageBoxW(nullptr, text.c_str(), kCaption, MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
      return 0;
    }
  }
  Notice notice = NoticeFor(code);
  if (args.size() > 1) {
    if (const std::optional<int> detail = ParseNumber(args[1]); detail && *detail > 0) {
      notice.text += L"　【" + std::to_wstring(*detail) + L"】";
    }
  }
  // Started from the background: the box must come to the front by itself.
  ::MessageBoxW(nullptr, notice.text.c_str(), kCaption, MB_OK | notice.icon | MB_SETFOREGROUND | MB_TOPMOST);
  return 0;
}
