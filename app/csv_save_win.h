#pragma once
// ToolButton3's export on Windows: the save dialog and the file itself.

#include <windows.h>

#include <optional>
#include <string>

#include "store/draw_table.h"
#include "store/game.h"

namespace norv {

// SaveDialog1 for the game; the chosen path, or nothing when cancelled.
std::optional<std::wstring> AskCsvPath(HWND owner, Game game);

// Writes the game's CSV file, replacing an existing one, then shows message 4,
// or 3 when the file could not be written (an existing one then stays as it was). The caller holds the
// game's TableBusy flag throughout, messages included.
void ExportGameCsv(Game game, const DrawTable& table, const std::wstring& path);

}  // namespace norv
