#pragma once
// Looks on the bank's pages for the draw after the newest one held and appends
// it to the game's data file.

#include <string>
#include <string_view>

#include "acquisition/acquisition_context.h"
#include "store/draw_table.h"
#include "store/game.h"

namespace norv {

struct IndexLink {
  std::string link;     // the path of the game's result page, or empty
  int failureOffset{};  // offset from the attempt base when empty
};

// The link around the game's button image on the bank's index page: the value
// of the last link that opens before the image.
IndexLink ReadIndexLink(Game game, std::string_view indexPage);

// True when draw data.drawCount + 1 was appended; drawCount then grows by one.
// Failures go to `notify` as (event code 109..112, sub-code).
bool ReadLatestDraw(Game game, GameData& data, const AcquisitionContext& context, const FailureSink& notify);

}  // namespace norv
