#pragma once
// ToolButton3's export on Windows, and the wins list's: the save dialog and
// the file itself.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/draw_table.h"
#include "store/game.h"
#include "store/my_wins.h"

namespace norv {

// SaveDialog1 for the game; the chosen path, or nothing when cancelled.
std::optional<std::wstring> AskCsvPath(HWND owner, Game game);

// The same dialog under another title and proposed name.
std::optional<std::wstring> AskCsvPath(HWND owner, std::string_view title, std::string_view proposedName);

// Writes the game's CSV file, replacing an existing one, then shows message 4,
// or 3 when the file could not be written (an existing one then stays as it was). The caller holds the
// game's TableBusy flag throughout, messages included.
void ExportGameCsv(Game game, const DrawTable& table, const std::wstring& path);

// The wins list as "my_wins.csv" is written, then message 4 or 3 as above.
void ExportMyWinsCsv(const std::vector<MyWin>& wins, const std::wstring& path);

}  // namespace norv
