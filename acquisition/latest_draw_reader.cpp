#include "acquisition/latest_draw_reader.h"

#include "acquisition/result_page_parser.h"
#include "acquisition/result_page_rules.h"
#include "base/text_fields.h"
#include "store/draw_record.h"
#include "store/file_replace.h"

namespace norv {

namespace {

constexpr std::string_view kLinkStart = "HREF=\"";
constexpr std::string_view kLinkEnd = "\"";
constexpr int kAttempts = 2;

// The result page's address from the index page of one attempt, or empty text
// after a report.
std::string ResultAddress(const PageRules& rules, int attempt, const AcquisitionContext& context,
                          const FailureSink& notify) {
  const int base = rules.attemptBase * attempt;
  const auto report = [&](int offset) { notify(rules.eventCode, base + offset); };
  std::string index;
  try {
    index = context.fetcher.FetchUrlText(context.urls[rules.indexSlots[static_cast<std::size_t>(attempt)]], true,
                                         context.stop);
  } catch (...) {
    report(kIndexFetchThrew);
    return {};
  }
  if (index.empty()) {
    report(kIndexEmpty);
    return {};
  }
  const IndexLink found = ReadIndexLink(rules.game, index);
  if (found.link.empty()) {
    report(found.failureOffset);
    return {};
  }
  // The index links are paths from the server root; the primary index address
  // gives the scheme and host in both attempts.
  return FieldAt(context.urls[rules.prefixSlot], 1, kResultPrefixLength) + found.link;
}

std::string FindNextRecord(const PageRules& rules, int drawNumber, const AcquisitionContext& context,
                           const FailureSink& notify) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::string address = ResultAddress(rules, attempt, context, notify);
    if (address.empty()) {
      continue;
    }
    std::string record =
        ParseResultPage(rules.game, address, rules.attemptBase * attempt, drawNumber, context, notify);
    if (!record.empty()) {
      return record;
    }
  }
  return {};
}

bool AppendRecord(const PageRules& rules, const std::string& record, const AcquisitionContext& context,
                  const FailureSink& notify) {
  const RecordLayout& layout = LayoutOf(rules.game);
  const std::string twin = context.dataFolder + std::string(layout.tempFile);
  const std::string target = context.dataFolder + std::string(layout.dataFile);
  switch (AppendRecordViaTwin(twin, target, record + "\r\n", context.files)) {
    case ReplaceOutcome::Replaced:
      return true;
    case ReplaceOutcome::TwinFailed:
      notify(rules.eventCode, rules.appendFailedCode);
      return false;
    case ReplaceOutcome::ReplaceFailed:
      notify(rules.eventCode, rules.replaceFailedCode);
      return false;
  }
  return false;
}

}  // namespace

IndexLink ReadIndexLink(Game game, std::string_view indexPage) {
  const std::size_t imageAt = UpperAscii(indexPage).find(PageRulesOf(game).buttonImage);
  if (imageAt == std::string::npos) {
    return {{}, kButtonMissing};
  }
  // The last link that opens before the button image is the one around it.
  std::string link = ExtractBetween(indexPage, static_cast<int>(imageAt) + 1, kLinkStart, kLinkEnd, true, true);
  if (link.empty()) {
    return {{}, kLinkEmpty};
  }
  return {std::move(link), 0};
}

bool ReadLatestDraw(Game game, GameData& data, const AcquisitionContext& context, const FailureSink& notify) {
  const PageRules& rules = PageRulesOf(game);
  const std::string record = FindNextRecord(rules, data.drawCount.load() + 1, context, notify);
  if (record.empty() || !AppendRecord(rules, record, context, notify)) {
    return false;
  }
  data.drawCount.fetch_add(1);
  return true;
}

}  // namespace norv
