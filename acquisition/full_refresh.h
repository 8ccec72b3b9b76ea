#pragma once
// Replaces a game's whole data file with the full history from the maker's server.

#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "acquisition/acquisition_context.h"
#include "store/game.h"

namespace norv {

inline constexpr int kRefreshFailedMessage = 108;

// The data file content for a downloaded history (CR and LF already removed):
// each whole record followed by CR LF, a shorter remainder dropped. Nothing
// when the history holds no whole record, when a record is not all ASCII
// digits, when it holds a zero byte anywhere, when a record does not begin
// with its own draw number (1 for the first), or when a stop is requested
// while it is built.
std::optional<std::string> BuildHistoryFile(Game game, std::string_view history, const std::stop_token& stop);

// The UrlTable slot of a game's full history: 2/3 LOTO6 ... 8/9 Numbers3.
int HistorySlot(Game game, bool fallback);

// Downloads the game's full history and, when it is longer than `drawCount`
// records or `forced` is set, makes it the data file. A history that changes
// a draw the data file holds whole is refused, as an unreadable one is, and
// the other copy is tried; a held draw changes only where both copies give
// the same new record. Held draws beyond a shorter history are kept. Returns
// the number of records the data file now holds, or nothing when the file
// was left alone. A file that cannot be written or replaced is reported to
// `showMessage` as (108, 0).
std::optional<int> RefreshDataFile(Game game, bool fallback, bool forced, int drawCount,
                                   const AcquisitionContext& context, const FailureSink& showMessage);

}  // namespace norv
