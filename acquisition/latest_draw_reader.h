#pragma once
// Looks on the bank's pages for the draw after the newest one held and appends
// it to the game's data file.

#include "acquisition/acquisition_context.h"
#include "store/draw_table.h"
#include "store/game.h"

namespace norv {

// True when draw data.drawCount + 1 was appended; drawCount then grows by one.
// Failures go to `notify` as (event code 109..112, sub-code).
bool ReadLatestDraw(Game game, GameData& data, const AcquisitionContext& context, const FailureSink& notify);

}  // namespace norv
