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
// or 3 when the file could not be created or written. The caller holds the
// game's TableBusy flag throughout, messages included.
void ExportGameCsv(Game game, const DrawTable& table, const std::wstring& path);

// False when the file could not be created or not wholly written; a partly
// written file stays.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

}  // namespace norv
