#include "service/bank_update.h"

#include <algorithm>
#include <optional>

#include "service/bank_csv.h"

namespace norv::service {

namespace {

// Ends the whole update: asking again for another series would not help.
struct BankFailure {
  std::string reason;
};

int NextNumber(const Store& store, BankSeries series) {
  int newest = kHighestDrawNumber;
  for (Game game : GamesOf(series)) newest = std::min(newest, store.NewestNumber(game));
  return newest + 1;
}

std::string Refusal(const HttpReply& reply) {
  return "the bank refused the request for " + reply.url + " (HTTP " + std::to_string(reply.status) +
         (IsAccessDeniedPage(reply.body) ? ", an \"Access Denied\" page" : "") +
         "); it turns away some automated clients and addresses, see \"When the bank refuses the service\" in "
         "service/README.md";
}

// The reply for one file, or nothing when the bank has not published it yet.
// `answer` is told what came back.
std::optional<HttpReply> FetchFile(BankClient& bank, BankFileId id, std::string& answer) {
  HttpReply reply;
  try {
    reply = bank.Get(BankFilePath(id));
  } catch (const FetchError& error) {
    answer = "gave no whole reply for " + BankFileName(id);
    throw BankFailure{error.what()};
  }
  answer = "answered " + std::to_string(reply.status) +
           (IsAccessDeniedPage(reply.body) ? " with an \"Access Denied\" page" : "") + " for " + BankFileName(id);
  if (reply.status == 404) return std::nullopt;
  if (reply.status == 403 || IsAccessDeniedPage(reply.body)) throw BankFailure{Refusal(reply)};
  if (reply.status != 200) throw BankFailure{reply.url + " answers HTTP " + std::to_string(reply.status)};
  return reply;
}

std::string Conflict(const HttpReply& reply, const std::vector<std::string>& refusals) {
  std::string text = reply.url + " does not fit the store, nothing of it was stored:";
  for (const std::string& refusal : refusals) text += "\n" + refusal;
  return text;
}

// The reason the series stopped early, or nothing when it reached the draw
// the bank has not published yet.
std::optional<std::string> UpdateSeries(Store& store, BankClient& bank, BankSeries series,
                                        const std::function<void(const Draw&)>& added, std::string& answer) {
  for (int number = NextNumber(store, series); number <= kHighestDrawNumber; ++number) {
    const BankFileId id{series, number};
    const std::optional<HttpReply> reply = FetchFile(bank, id, answer);
    if (!reply) return std::nullopt;
    std::vector<Draw> draws;
    try {
      draws = ReadBankFile(reply->body, id);
    } catch (const BankFileError& error) {
      return reply->url + ": " + error.what() + "; nothing of it was stored";
    }
    AddResult result;
    try {
      result = store.Add(draws);
    } catch (const StoreWriteError& error) {
      for (const Draw& draw : error.added()) added(draw);
      throw;
    }
    if (!result.refusals.empty()) return Conflict(*reply, result.refusals);
    for (const Draw& draw : result.added) added(draw);
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> UpdateStore(Store& store, BankClient& bank, const std::function<void(const Draw&)>& added,
                                     BankAnswers* answers) {
  std::vector<std::string> failures;
  for (BankSeries series : kAllSeries) {
    std::string answer;
    try {
      if (auto failure = UpdateSeries(store, bank, series, added, answer)) failures.push_back(std::move(*failure));
    } catch (const BankFailure& failure) {
      failures.push_back(failure.reason);
      if (answers && !answer.empty()) (*answers)[series] = std::move(answer);
      break;
    }
    if (answers && !answer.empty()) (*answers)[series] = std::move(answer);
  }
  return failures;
}

}  // namespace norv::service
