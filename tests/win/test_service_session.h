#pragma once
// The maker's service in test mode as the tests that check whole histories
// drive it: its controls, its published counts, and the data file each game
// must end with once a check has taken every published draw.

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "store/game.h"

namespace norv::testing {

// The service's port, or 0 when the tests run without it.
int TestServicePort();

// The reply to `target` ("/control/...", "/svc1/lot6.txt"), as the program's
// own fetch reads it.
std::string FromTestService(std::string_view target);

// Draws the service publishes of `game`: its history and its result page.
int PublishedDraws(Game game);

// Every game's data file as a check that took every published draw leaves
// it; the history counts are left as the service serves them by default.
std::array<std::string, 4> CompleteDataFiles();

// Fresh settings of a program that checks only when asked: not a first
// start, a plain window, no schedule, sound or notices, and no release newer
// than the one it has, so no box waits for an answer.
void PrepareQuietCheckSettings();

// The data files in %APPDATA%, read and written without holding them open.
std::wstring DataFilePath(Game game);
std::string ReadDataFile(Game game);
void WriteDataFile(Game game, const std::string& bytes);

// The address of a published page less the origin ("/bank_/takarakuji/loto/index.html"),
// as the directory names it.
std::string IndexPagePath(Game game);
std::string ResultPagePath(Game game);

}  // namespace norv::testing
