// Result pages written from random known draws: each draw on a page is read
// back as exactly its own record, an unfinished one as nothing, and a draw
// that is not on the page as nothing. The fuzz target of the same name runs
// this far longer.

#include <gtest/gtest.h>

#include <random>

#include "acquisition/fetch_reply.h"
#include "acquisition/result_page_parser.h"
#include "random_result_pages.h"

namespace norv {
namespace {

TEST(ResultPageDifferential, EveryDrawOfARandomPageReadsAsItsOwnRecordOrNothing) {
  for (std::uint32_t seed = 0; seed < 3000; ++seed) {
    std::mt19937 generator(seed);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(generator); };
    const testing::RandomPage page = testing::WriteRandomResultPage(pick);
    ReplyCollector reply;
    reply.Append(page.html);
    const std::string text = reply.Finish(true);
    for (const testing::RandomDraw& draw : page.draws) {
      const PageReading reading = ReadResultText(page.game, text, draw.draw);
      ASSERT_EQ(reading.record, draw.record) << "seed " << seed << ", draw " << draw.draw << "\n" << page.html;
    }
    const int absent = page.draws.front().draw + 1;
    ASSERT_EQ(ReadResultText(page.game, text, absent).record, "") << "seed " << seed;
  }
}

}  // namespace
}  // namespace norv
