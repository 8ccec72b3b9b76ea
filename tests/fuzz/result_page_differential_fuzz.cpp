// The fuzzer's bytes choose a result page of known draws (game, draws, layout
// variations, an unfinished newest draw); every draw on it must read back as
// exactly its own record or, unfinished, as nothing, and a draw not on the
// page as nothing: never as another draw's record.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "acquisition/fetch_reply.h"
#include "acquisition/result_page_parser.h"
#include "tests/native/random_result_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  auto pick = [&](int low, int high) { return input.ConsumeIntegralInRange<int>(low, high); };
  const norv::testing::RandomPage page = norv::testing::WriteRandomResultPage(pick);
  norv::ReplyCollector reply;
  reply.Append(page.html);
  const std::string text = reply.Finish(true);
  for (const norv::testing::RandomDraw& draw : page.draws) {
    if (norv::ReadResultText(page.game, text, draw.draw).record != draw.record) __builtin_trap();
  }
  const int elsewhere = pick(1, 9999);
  bool onPage = false;
  for (const norv::testing::RandomDraw& draw : page.draws) onPage = onPage || draw.draw == elsewhere;
  if (!onPage && !norv::ReadResultText(page.game, text, elsewhere).record.empty()) __builtin_trap();
  return 0;
}
