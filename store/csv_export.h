#pragma once
// The CSV file of a game's whole history: a title line, a header line and one
// line per draw, oldest first, each ended by CR LF. The file is written in
// code page 932 without a byte-order mark.

#include <optional>
#include <string>

#include "store/draw_table.h"
#include "store/file_system.h"
#include "store/game.h"

namespace norv {

// The file's text, still UTF-8.
std::string CsvContent(Game game, const DrawTable& table);

// The file's bytes; nothing when the text cannot be converted.
std::optional<std::string> CsvFileBytes(Game game, const DrawTable& table);

// The twin the file is written to first: "tmp_" + its name, beside it.
std::string CsvTwinPath(const std::string& path);

// Writes the file at `path` (UTF-8) through its twin, so an export that fails
// or is cut short leaves a file already there as it was, never half written.
// False when the text cannot be converted or a file step fails.
bool WriteCsvFile(Game game, const DrawTable& table, const std::string& path, FileSystem& files = LocalFileSystem());

// The save dialog: its title and the proposed file name (the default
// extension is added by the dialog). The filter is text::kCsvDialogFilter.
std::string CsvDialogTitle(Game game);
std::string CsvProposedFileName(Game game);

}  // namespace norv
