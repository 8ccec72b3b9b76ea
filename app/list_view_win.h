#pragma once
// A report-style list view filled with rows of UTF-8 texts.

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace norv {

struct ListColumn {
  std::string_view title;
  int width;  // dialog units
};

// `dialog` converts the widths from dialog units, so they follow its dpi.
void SetListColumns(HWND list, HWND dialog, std::span<const ListColumn> columns);
void SetListRows(HWND list, const std::vector<std::vector<std::string>>& rows);
// -1 when no row is selected.
int SelectedListRow(HWND list);
void SelectListRow(HWND list, int row);

}  // namespace norv
