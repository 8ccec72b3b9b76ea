#include <gtest/gtest.h>

#include <sstream>

#include "service/bank_update.h"
#include "service/commands.h"
#include "service/history_csv.h"
#include "service/update_once.h"
#include "tests/service/prometheus_text.h"
#include "tests/service/support/bank_file_writer.h"
#include "tests/service/support/local_bank.h"
#include "tests/service/support/temp_folder.h"

namespace norv::service {
namespace {

using testing::BankReply;
using testing::FileText;
using testing::LocalBank;
using testing::SampleDraw;
using namespace std::chrono_literals;

std::vector<Draw> SampleHistory(Game game, int count) {
  std::vector<Draw> draws;
  for (int number = 1; number <= count; ++number) draws.push_back(SampleDraw(game, number));
  return draws;
}

std::string PathOf(BankSeries series, int number) { return BankFilePath({series, number}); }

BankReply Reply(int status, std::string body, BankReply::Kind kind = BankReply::Kind::Whole) {
  BankReply reply;
  reply.kind = kind;
  reply.status = status;
  reply.body = std::move(body);
  return reply;
}

// A store of LOTO6 1-3, MiniLOTO 1-2, Numbers4 1-5, Numbers3 1-4, and a
// bank that has not published anything after them yet.
class UpdateTest : public ::testing::Test {
 protected:
  testing::TempFolder temp;
  Store store = Store::Create(temp / "store", {SampleHistory(Game::Loto6, 3), SampleHistory(Game::MiniLoto, 2),
                                               SampleHistory(Game::Numbers4, 5), SampleHistory(Game::Numbers3, 4)});
  LocalBank bank;
  std::vector<std::string> added;

  BankAnswers answers;

  std::vector<std::string> Update(std::chrono::milliseconds timeout = 2000ms) {
    FetchLimits limits;
    limits.interval = 0ms;
    limits.timeout = timeout;
    limits.maxBytes = 64 * 1024;
    BankClient client(bank.base(), limits);
    answers.clear();
    return UpdateStore(store, client, [this](const Draw& draw) { added.push_back(Describe(draw)); }, &answers);
  }

  std::vector<std::string> RequestedPaths() const {
    std::vector<std::string> paths;
    for (const auto& request : bank.Requests()) paths.push_back(request.path);
    return paths;
  }

  std::map<std::string, std::string> Histories() const {
    std::map<std::string, std::string> files;
    for (Game game : kAllGames) files[HistoryFileName(game)] = FileText(temp / "store" / HistoryFileName(game));
    return files;
  }

  void ExpectOneFailure(const std::vector<std::string>& failures, std::string_view part) {
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find(part), std::string::npos) << failures[0];
  }
};

TEST_F(UpdateTest, TheDrawsAfterTheNewestHeldAreFetchedInOrderUntilTheBankHasNoMore) {
  bank.PublishDraw(SampleDraw(Game::Loto6, 4));
  bank.PublishDraw(SampleDraw(Game::Loto6, 5));
  bank.PublishDraw(SampleDraw(Game::MiniLoto, 3));
  // Numbers4 already holds draw 5: the A50 file of draw 5 brings Numbers3 up.
  bank.PublishNumbers(SampleDraw(Game::Numbers4, 5), SampleDraw(Game::Numbers3, 5));
  bank.PublishNumbers(SampleDraw(Game::Numbers4, 6), SampleDraw(Game::Numbers3, 6));

  EXPECT_TRUE(Update().empty());
  EXPECT_EQ(added, (std::vector<std::string>{
                       Describe(SampleDraw(Game::Loto6, 4)), Describe(SampleDraw(Game::Loto6, 5)),
                       Describe(SampleDraw(Game::MiniLoto, 3)), Describe(SampleDraw(Game::Numbers3, 5)),
                       Describe(SampleDraw(Game::Numbers4, 6)), Describe(SampleDraw(Game::Numbers3, 6))}));
  EXPECT_EQ(RequestedPaths(),
            (std::vector<std::string>{PathOf(BankSeries::Loto6, 4), PathOf(BankSeries::Loto6, 5),
                                      PathOf(BankSeries::Loto6, 6), PathOf(BankSeries::MiniLoto, 3),
                                      PathOf(BankSeries::MiniLoto, 4), PathOf(BankSeries::Numbers, 5),
                                      PathOf(BankSeries::Numbers, 6), PathOf(BankSeries::Numbers, 7)}));
  const Store reopened = Store::Open(temp / "store");
  EXPECT_EQ(reopened.Draws(Game::Loto6), SampleHistory(Game::Loto6, 5));
  EXPECT_EQ(reopened.Draws(Game::Numbers3), SampleHistory(Game::Numbers3, 6));
}

TEST_F(UpdateTest, NothingNewAsksOnceForEachSeriesAndChangesNothing) {
  const auto before = Histories();
  EXPECT_TRUE(Update().empty());
  EXPECT_TRUE(added.empty());
  EXPECT_EQ(bank.Requests().size(), 3u);
  EXPECT_EQ(Histories(), before);
}

TEST_F(UpdateTest, TheBanksLastAnswerForEachSeriesAskedIsKept) {
  bank.PublishDraw(SampleDraw(Game::Loto6, 4));
  EXPECT_TRUE(Update().empty());
  EXPECT_EQ(answers, (BankAnswers{{BankSeries::Loto6, "answered 404 for A1020005.CSV"},
                                  {BankSeries::MiniLoto, "answered 404 for A1010003.CSV"},
                                  {BankSeries::Numbers, "answered 404 for A1000005.CSV"}}));
  bank.Set(PathOf(BankSeries::Loto6, 5), Reply(200, testing::AccessDeniedPage()));
  ExpectOneFailure(Update(), "refused");
  EXPECT_EQ(answers,
            (BankAnswers{{BankSeries::Loto6, "answered 200 with an \"Access Denied\" page for A1020005.CSV"}}));
}

TEST_F(UpdateTest, ARefusalByTheBankStoresNothingFromItAndEndsTheUpdate) {
  for (int status : {403, 200}) {
    SCOPED_TRACE(status);
    const auto before = Histories();
    bank.Set(PathOf(BankSeries::Loto6, 4), Reply(status, testing::AccessDeniedPage()));
    const auto failures = Update();
    ExpectOneFailure(failures, "the bank refused the request for " + bank.base() + PathOf(BankSeries::Loto6, 4) +
                                   " (HTTP " + std::to_string(status) + ", an \"Access Denied\" page)");
    EXPECT_EQ(Histories(), before);
    EXPECT_EQ(RequestedPaths().back(), PathOf(BankSeries::Loto6, 4));  // nothing asked after the refusal
  }
}

TEST_F(UpdateTest, WhatWasAddedBeforeAFailureStays) {
  bank.PublishDraw(SampleDraw(Game::Loto6, 4));
  bank.Set(PathOf(BankSeries::Loto6, 5), Reply(403, testing::AccessDeniedPage()));
  ExpectOneFailure(Update(), "refused");
  EXPECT_EQ(added, std::vector<std::string>{Describe(SampleDraw(Game::Loto6, 4))});
  EXPECT_EQ(Store::Open(temp / "store").Draws(Game::Loto6), SampleHistory(Game::Loto6, 4));
}

TEST_F(UpdateTest, AServerThatHangsRedirectsElsewhereOrSendsTooMuchStoresNothing) {
  BankReply redirect = Reply(302, "");
  redirect.location = "http://bank.example" + PathOf(BankSeries::Loto6, 4);
  BankReply chunked = Reply(200, "", BankReply::Kind::Chunked);
  chunked.chunkedBytes = 1024 * 1024;
  const std::vector<std::pair<BankReply, std::string>> cases{
      {Reply(200, "", BankReply::Kind::Hang), "within 300 ms"},
      {redirect, "redirects to another host"},
      {chunked, "larger than 65536 bytes"},
      {Reply(500, "oops"), "answers HTTP 500"},
  };
  for (const auto& [reply, reason] : cases) {
    SCOPED_TRACE(reason);
    const auto before = Histories();
    bank.Set(PathOf(BankSeries::Loto6, 4), reply);
    ExpectOneFailure(Update(300ms), reason);
    EXPECT_EQ(Histories(), before);
  }
}

TEST_F(UpdateTest, ABadFileEndsOnlyItsSeries) {
  Draw bad = SampleDraw(Game::Loto6, 4);
  bad.balls.back() = 44;
  bank.Publish({BankSeries::Loto6, 4}, testing::ShiftJis(testing::BankFileText(bad)));
  bank.PublishDraw(SampleDraw(Game::MiniLoto, 3));
  ExpectOneFailure(Update(),
                   PathOf(BankSeries::Loto6, 4) + ": LOTO6 draw: ball 44 is outside 1-43; nothing of it was stored");
  EXPECT_EQ(added, std::vector<std::string>{Describe(SampleDraw(Game::MiniLoto, 3))});
  EXPECT_EQ(Store::Open(temp / "store").NewestNumber(Game::Loto6), 3);
}

TEST_F(UpdateTest, AFileUnderAnotherDrawsNameIsNotStored) {
  bank.Publish({BankSeries::Loto6, 4}, testing::ShiftJis(testing::BankFileText(SampleDraw(Game::Loto6, 5))));
  ExpectOneFailure(Update(), "names draw 5 where draw 4 was asked for");
  EXPECT_EQ(Store::Open(temp / "store").NewestNumber(Game::Loto6), 3);
}

TEST_F(UpdateTest, ABankFileThatContradictsADrawHeldIsRefusedWithBothVersions) {
  Draw changed = SampleDraw(Game::Numbers4, 5);
  changed.prizes[0] = 1;
  bank.PublishNumbers(changed, SampleDraw(Game::Numbers3, 5));
  const auto before = Histories();
  const auto failures = Update();
  ExpectOneFailure(failures, "numbers4 draw 5 differs from the draw held");
  EXPECT_NE(failures[0].find("held:    " + Describe(SampleDraw(Game::Numbers4, 5))), std::string::npos);
  EXPECT_NE(failures[0].find("offered: " + Describe(changed)), std::string::npos);
  EXPECT_EQ(Histories(), before);  // Numbers3's draw 5 of the same file is not stored either
}

TEST_F(UpdateTest, ANetworkThatIsDownEndsTheUpdate) {
  std::string base;
  {
    LocalBank closed;
    base = closed.base();
  }
  FetchLimits limits;
  limits.interval = 0ms;
  BankClient client(base, limits);
  const auto failures = UpdateStore(store, client, [](const Draw&) {});
  ExpectOneFailure(failures, "cannot fetch");
}

TEST_F(UpdateTest, TheServersScheduledUpdateWritesTheMetricsFileToo) {
  std::ostringstream log;
  const int status = RunUpdateOnce(temp / "store", bank.base(), log, temp / "norv.prom");
  const auto figures = testing::ReadPrometheusText(FileText(temp / "norv.prom"));
  ASSERT_EQ(figures.problem, "");
  EXPECT_EQ(figures.samples.at("norv_update_exit_code"), std::to_string(status));
  EXPECT_EQ(figures.samples.at("norv_newest_draw{game=\"miniloto\"}"), "2");
  EXPECT_TRUE(status == 0 || status == kExitStale) << log.str();

  // Without a schedule there would be no run to write it.
  const std::vector<std::string> args{(temp / "store").string(), "--metrics", (temp / "other.prom").string()};
  std::ostringstream out, err;
  EXPECT_EQ(RunServe(args, out, err), kExitBadInput);
  EXPECT_NE(err.str().find("--metrics needs --update-every"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace norv::service
