#pragma once
// Reads the record of one draw from the bank's result page of a game.

#include <string>
#include <string_view>

#include "acquisition/acquisition_context.h"
#include "store/game.h"

namespace norv {

struct PageReading {
  std::string record;   // the record text without CR LF, or empty
  int failureOffset{};  // offset from the attempt base of a failure to report; 0 for none
};

// The record of draw `drawNumber` from a page's text. A page that does not yet
// show that draw gives an empty record and no failure.
PageReading ReadResultText(Game game, std::string_view page, int drawNumber);

// Fetches the result page and reads it; every failure goes to `notify` as the
// game's event code and base + offset.
std::string ParseResultPage(Game game, std::string_view address, int base, int drawNumber,
                            const AcquisitionContext& context, const FailureSink& notify);

}  // namespace norv
