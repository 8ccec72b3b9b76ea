#include "app/csv_save_win.h"

#include <commdlg.h>

#include <algorithm>

#include "base/handles_win.h"
#include "app/program_messages_win.h"
#include "base/unicode_win.h"
#include "resources/check_strings.h"
#include "store/csv_export.h"
#include "store/my_wins.h"

namespace norv {

namespace {

constexpr int kCsvFailedCode = 3;
constexpr int kCsvWrittenCode = 4;
constexpr DWORD kMaxPath = 32768;

// The filter's "|" separators become the terminators the dialog expects.
std::wstring DialogFilter() {
  std::wstring filter = Widen(text::kCsvDialogFilter);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.push_back(L'\0');
  return filter;
}

}  // namespace

std::optional<std::wstring> AskCsvPath(HWND owner, Game game) {
  return AskCsvPath(owner, CsvDialogTitle(game), CsvProposedFileName(game));
}

std::optional<std::wstring> AskCsvPath(HWND owner, std::string_view titleText, std::string_view proposedName) {
  const std::wstring title = Widen(titleText);
  const std::wstring filter = DialogFilter();
  const std::wstring extension = Widen(text::kCsvDefaultExtension);
  std::wstring file(kMaxPath, L'\0');
  const std::wstring proposed = Widen(proposedName);
  std::copy(proposed.begin(), proposed.end(), file.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = kMaxPath;
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension.c_str();
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER;
  if (!::GetSaveFileNameW(&dialog)) {
    return std::nullopt;
  }
  file.resize(file.find(L'\0'));
  return file;
}

void ExportGameCsv(Game game, const DrawTable& table, const std::wstring& path) {
  const bool written = WriteCsvFile(game, table, Narrow(path));
  ShowProgramMessage(written ? kCsvWrittenCode : kCsvFailedCode, 0);
}

void ExportMyWinsCsv(const std::vector<MyWin>& wins, const std::wstring& path) {
  const bool written = WriteMyWinsFile(wins, Narrow(path));
  ShowProgramMessage(written ? kCsvWrittenCode : kCsvFailedCode, 0);
}

}  // namespace norv
