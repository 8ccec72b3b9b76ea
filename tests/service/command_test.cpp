// The norv-service program itself, as scripts drive it: exit statuses, what
// goes to stdout, and the one-line reasons on stderr.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "service/history_csv.h"
#include "service/seed.h"
#include "tests/service/prometheus_text.h"
#include "tests/service/support/bank_file_writer.h"
#include "tests/service/support/local_bank.h"
#include "tests/service/run_service.h"
#include "tests/service/support/temp_folder.h"

namespace norv::service {
namespace {

using testing::FileText;
using testing::SampleDraw;
using testing::ShiftJis;
using testing::WriteFileText;

using testing::Outcome;
using testing::RunService;

bool IsOneLine(const std::string& text) { return !text.empty() && text.find('\n') == text.size() - 1; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Noon of a day in Japan, as the Unix time NORV_SERVICE_NOW takes.
std::string NoonInJapan(std::chrono::year_month_day day) {
  using namespace std::chrono;
  return std::to_string(duration_cast<seconds>((sys_days(day) + hours(3)).time_since_epoch()).count());
}

// The seed's newest draws, and the bank's files of the draws after them.
class CommandTest : public ::testing::Test {
 protected:
  testing::TempFolder temp;
  std::string store = (temp / "store").string();

  void SetUp() override { ASSERT_EQ(RunService(temp, {"init", store}).status, 0); }

  int Newest(Game game) const { return Store::Open(store).NewestNumber(game); }

  Draw Next(Game game, int after = 1) const { return SampleDraw(game, Newest(game) + after); }

  std::string WriteBankFile(const std::string& name, const std::string& utf8) {
    const std::string path = (temp / name).string();
    WriteFileText(path, ShiftJis(utf8));
    return path;
  }

  std::string WriteDrawFile(const Draw& draw) {
    return WriteBankFile(BankFileName({SeriesOf(draw.game), draw.number}), testing::BankFileText(draw));
  }

  std::map<std::string, std::string> Histories() const {
    std::map<std::string, std::string> files;
    for (Game game : kAllGames)
      files[HistoryFileName(game)] = FileText(std::filesystem::path(store) / HistoryFileName(game));
    return files;
  }
};

TEST_F(CommandTest, InitHoldsTheBundledSnapshotAndNeverOverwritesAStore) {
  for (Game game : kAllGames) {
    EXPECT_EQ(FileText(std::filesystem::path(store) / HistoryFileName(game)),
              FileText(std::filesystem::path(NORVALE_SOURCE_DIR) / "service/seed" / HistoryFileName(game)));
  }
  const auto before = Histories();
  const Outcome again = RunService(temp, {"init", store});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("already exists"), std::string::npos) << again.err;
  EXPECT_EQ(Histories(), before);
}

TEST_F(CommandTest, InitTakesASeedFolderAndRefusesABrokenOne) {
  const std::filesystem::path seed = temp / "seed";
  std::filesystem::create_directory(seed);
  for (Game game : kAllGames) WriteFileText(seed / HistoryFileName(game), WriteHistoryCsv(game, {SampleDraw(game, 1)}));
  const Outcome run = RunService(temp, {"init", (temp / "small").string(), "--seed", seed.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "loto6 1\nminiloto 1\nnumbers4 1\nnumbers3 1\n");

  WriteFileText(seed / "numbers3.csv", "draw,date\n");
  const Outcome broken = RunService(temp, {"init", (temp / "other").string(), "--seed", seed.string()});
  EXPECT_EQ(broken.status, 2);
  EXPECT_NE(broken.err.find("numbers3.csv: line 1"), std::string::npos) << broken.err;
  EXPECT_FALSE(std::filesystem::exists(temp / "other"));
  EXPECT_EQ(RunService(temp, {"init"}).status, 2);
  EXPECT_EQ(RunService(temp, {"init", store, "--sed", "x"}).status, 2);
}

TEST_F(CommandTest, ParsePrintsEachGameAndTheRecordNorvaleStores) {
  const std::string loto6 = WriteDrawFile(SampleDraw(Game::Loto6, 694));
  const std::string numbers = WriteBankFile(
      "A1007055.CSV", testing::BankNumbersFileText(SampleDraw(Game::Numbers4, 7055), SampleDraw(Game::Numbers3, 7055)));
  const Outcome run = RunService(temp, {"parse", loto6, numbers});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "loto6 " + RecordText(SampleDraw(Game::Loto6, 694)) + "\nnumbers4 " +
                         RecordText(SampleDraw(Game::Numbers4, 7055)) + "\nnumbers3 " +
                         RecordText(SampleDraw(Game::Numbers3, 7055)) + "\n");
  EXPECT_TRUE(run.err.empty());
}

TEST_F(CommandTest, ParseOfABadFileExitsWith2AndOneLineNamingIt) {
  const std::string good = WriteDrawFile(SampleDraw(Game::Loto6, 694));
  const std::string bad = WriteBankFile("A1010694.CSV", testing::BankFileText(SampleDraw(Game::Loto6, 694)));
  const Outcome run = RunService(temp, {"parse", good, bad});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.out.empty());  // nothing unless every file reads
  EXPECT_TRUE(IsOneLine(run.err)) << run.err;
  EXPECT_NE(run.err.find("norv-service parse: " + bad + ": holds a LOTO6 (A52) draw"), std::string::npos) << run.err;
  EXPECT_EQ(RunService(temp, {"parse"}).status, 2);
  EXPECT_EQ(RunService(temp, {"parse", (temp / "missing.csv").string()}).status, 2);
}

TEST_F(CommandTest, ImportTakesFilesInAnyOrderAndPrintsWhatItAdded) {
  const Draw first = Next(Game::Loto6), second = Next(Game::Loto6, 2), mini = Next(Game::MiniLoto);
  const Outcome run =
      RunService(temp, {"import", store, WriteDrawFile(second), WriteDrawFile(mini), WriteDrawFile(first)});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, Describe(first) + "\n" + Describe(second) + "\n" + Describe(mini) + "\n");
  EXPECT_EQ(Store::Open(store).Draws(Game::Loto6).back(), second);

  const Outcome again = RunService(temp, {"import", store, WriteDrawFile(first)});
  EXPECT_EQ(again.status, 0);
  EXPECT_TRUE(again.out.empty());  // held with the same content: no change
}

TEST_F(CommandTest, ImportOfADrawThatLeavesAGapOrDiffersStoresNothing) {
  const auto before = Histories();
  Draw changed = Store::Open(store).Draws(Game::MiniLoto).back();
  changed.bonus = changed.bonus == 1 ? 2 : 1;
  while (std::find(changed.balls.begin(), changed.balls.end(), changed.bonus) != changed.balls.end()) ++changed.bonus;
  const Outcome run = RunService(temp, {"import", store, WriteDrawFile(Next(Game::Loto6)),
                                        WriteDrawFile(Next(Game::Loto6, 3)), WriteDrawFile(changed)});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.out.empty());
  EXPECT_NE(run.err.find("would leave a gap"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("differs from the draw held"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("offered: " + Describe(changed)), std::string::npos) << run.err;
  EXPECT_EQ(Histories(), before);
}

TEST_F(CommandTest, ImportOfABadFileExitsWith2NamingItAndLeavesTheStoreAsItWas) {
  const Draw loto6 = Next(Game::Loto6);
  const std::string good = testing::BankFileText(loto6);
  const std::string name = BankFileName({BankSeries::Loto6, loto6.number});
  const auto replaced = [&](std::string_view from, std::string_view to) {
    std::string text = good;
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
  };
  const std::string numbers4 = Next(Game::Numbers4).digits;
  Draw numbers3 = SampleDraw(Game::Numbers3, Next(Game::Numbers4).number);
  const std::string numbersFile = testing::BankNumbersFileText(Next(Game::Numbers4), numbers3);
  const std::string numbersName = BankFileName({BankSeries::Numbers, Next(Game::Numbers4).number});
  struct Case {
    std::string what, file, bytes, reason;
  };
  const std::vector<Case> cases{
      {"the refusal page", name, testing::AccessDeniedPage(), "Access Denied"},
      {"an empty file", name, "", "empty"},
      {"a file cut short of a class row", name, ShiftJis(good.substr(0, good.find("３等"))), "no ３等 row"},
      {"a file cut short of its sales row", name, ShiftJis(good.substr(0, good.find("販売実績額"))),
       "no 販売実績額 row"},
      {"a file that is not Shift_JIS", name, good, "not Shift_JIS"},
      {"an A52 body under an A101 name", BankFileName({BankSeries::MiniLoto, loto6.number}), ShiftJis(good),
       "MiniLOTO (A51) file"},
      {"a title naming another draw", BankFileName({BankSeries::Loto6, loto6.number + 1}), ShiftJis(good),
       "names draw"},
      {"six balls where seven are needed", name, ShiftJis(replaced(",ボーナス数字,12", "")), "ボーナス数字"},
      {"a ball of 44", name, ShiftJis(replaced(",43,", ",44,")), "ball 44"},
      {"an amount that is not digits", name, ShiftJis(replaced("8000円", "8千円")), "is not digits"},
      {"an amount wider than its field", name, ShiftJis(replaced("15000000円", "1500000000円")),
       "wider than its 9-digit field"},
      {"a Numbers3 number of four digits", numbersName,
       ShiftJis(std::string(numbersFile)
                    .replace(numbersFile.find("抽せん数字," + numbers3.digits), 16 + numbers3.digits.size(),
                             "抽せん数字,1" + numbers3.digits)),
       "3 digits"},
  };
  const auto before = Histories();
  for (const Case& bad : cases) {
    SCOPED_TRACE(bad.what);
    const std::filesystem::path folder = temp / "bad";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / bad.file).string();
    WriteFileText(path, bad.bytes);
    // A good file beside the bad one is not stored either.
    const Outcome run = RunService(temp, {"import", store, WriteDrawFile(loto6), path});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    EXPECT_NE(run.err.find(path + ": "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(bad.reason), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(Histories(), before);
    std::filesystem::remove_all(folder);
  }
}

TEST_F(CommandTest, UpdateFetchesOneNewDrawPerGameAndPrintsThem) {
  testing::LocalBank bank;
  const Draw loto6 = Next(Game::Loto6), mini = Next(Game::MiniLoto), numbers4 = Next(Game::Numbers4),
             numbers3 = Next(Game::Numbers3);
  bank.PublishDraw(loto6);
  bank.PublishDraw(mini);
  bank.PublishNumbers(numbers4, numbers3);
  const Outcome run = RunService(temp, {"update", store, "--bank", bank.base()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            Describe(loto6) + "\n" + Describe(mini) + "\n" + Describe(numbers4) + "\n" + Describe(numbers3) + "\n");
  const auto requests = bank.Requests();
  ASSERT_EQ(requests.size(), 6u);
  EXPECT_GE(requests.back().time - requests.front().time,
            std::chrono::milliseconds(4500));  // one a second, less the server's own delays
  EXPECT_EQ(Store::Open(store).Draws(Game::Numbers3).back(), numbers3);
}

TEST_F(CommandTest, UpdateRefusedByTheBankExitsNonZeroAndStoresNothing) {
  testing::LocalBank bank;
  testing::BankReply refusal;
  refusal.status = 403;
  refusal.body = testing::AccessDeniedPage();
  bank.Set(BankFilePath({BankSeries::Loto6, Next(Game::Loto6).number}), refusal);
  const auto before = Histories();
  const Outcome run = RunService(temp, {"update", store, "--bank", bank.base()});
  EXPECT_EQ(run.status, 1);
  // One line for the refusal, then one for each game the run leaves stale.
  const std::vector<std::string> lines = Lines(run.err);
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(lines[0].starts_with("norv-service update: the bank refused the request")) << run.err;
  for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_NE(lines[i].find(" is stale: "), std::string::npos) << run.err;
  EXPECT_EQ(Histories(), before);
  EXPECT_EQ(RunService(temp, {"update", store, "--bank", "ftp://bank.example"}).status, 2);
}

// A folder that is not a store is bad input to every command that reads one
// (serve's case is with the serve tests), and nothing is asked of the bank.
TEST_F(CommandTest, AFolderThatIsNotAStoreExitsWith2NamingIt) {
  const std::string folder = (temp / "nostore").string();
  std::filesystem::create_directory(folder);
  const std::vector<std::vector<std::string>> runs{
      {"update", folder, "--bank", "http://127.0.0.1:9/"},
      {"update", (temp / "missing").string()},
      {"import", folder, WriteDrawFile(Next(Game::Loto6))},
      {"publish", folder, (temp / "site").string(), "--base", "http://127.0.0.1:9/"},
  };
  for (const std::vector<std::string>& args : runs) {
    const Outcome run = RunService(temp, args);
    EXPECT_EQ(run.status, 2) << args[0] << " " << args[1];
    EXPECT_TRUE(run.err.starts_with("norv-service " + args[0] + ": " + args[1] + " is not a store")) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(temp / "site"));
}

TEST_F(CommandTest, BadUsageOfEveryCommandExitsWith2ShowingItsUsage) {
  for (const std::string command : {"init", "parse", "import", "update", "publish", "serve", "keygen", "sign-release"}) {
    const Outcome run = RunService(temp, {command, store, "--no-such-option", "x"});
    EXPECT_EQ(run.status, 2) << command;
    EXPECT_TRUE(run.err.starts_with("norv-service " + command + ": no option --no-such-option\n")) << run.err;
    EXPECT_NE(run.err.find("usage: norv-service " + command), std::string::npos) << run.err;
  }
  const Outcome twice = RunService(temp, {"update", store, "--bank", "http://127.0.0.1:9/", "--bank", "http://a/"});
  EXPECT_EQ(twice.status, 2);
  EXPECT_TRUE(twice.err.starts_with("norv-service update: --bank is given twice\n")) << twice.err;
  const Outcome noValue = RunService(temp, {"serve", store, "--port"});
  EXPECT_EQ(noValue.status, 2);
  EXPECT_TRUE(noValue.err.starts_with("norv-service serve: --port needs a value\n")) << noValue.err;
}

// A bank that answers 404 for everything, as it would after moving its files:
// the bundled snapshot, judged on 2026-12-08, is behind in all four games.
TEST_F(CommandTest, UpdateAgainstABankThatHasNothingLeavesTheSnapshotStaleAndExits3) {
  testing::LocalBank bank;
  const std::string metrics = (temp / "norv.prom").string();
  const std::string now = NoonInJapan(std::chrono::year_month_day(std::chrono::year(2026) / 12 / 8));
  const Outcome run = RunService(temp, {"update", store, "--bank", bank.base(), "--metrics", metrics}, now);
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.out, "");
  const std::vector<std::string> lines = Lines(run.err);
  ASSERT_EQ(lines.size(), 4u) << run.err;
  EXPECT_TRUE(lines[0].starts_with(
      "norv-service update: loto6 is stale: newest draw 2085 of 2026-03-16, 267 days ago (allowance 8 days"))
      << lines[0];
  const std::array<std::string, 4> games{"loto6", "miniloto", "numbers4", "numbers3"};
  const std::array<std::string, 4> files{"A1022086.CSV", "A1011354.CSV", "A1007055.CSV", "A1007055.CSV"};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_TRUE(lines[i].starts_with("norv-service update: " + games[i] + " is stale: newest draw ")) << lines[i];
    EXPECT_TRUE(lines[i].ends_with("; the bank answered 404 for " + files[i])) << lines[i];
  }
  const auto figures = testing::ReadPrometheusText(FileText(metrics));
  ASSERT_EQ(figures.problem, "");
  for (const std::string& game : games) EXPECT_EQ(figures.samples.at("norv_stale{game=\"" + game + "\"}"), "1");
  EXPECT_EQ(figures.samples.at("norv_newest_draw{game=\"loto6\"}"), "2085");
  EXPECT_EQ(figures.samples.at("norv_update_exit_code"), "3");
  EXPECT_EQ(figures.samples.at("norv_update_last_success_timestamp_seconds"), now);

  // A failed run says so in the file and keeps the time of the last success.
  testing::BankReply refusal;
  refusal.status = 403;
  refusal.body = testing::AccessDeniedPage();
  bank.Set(BankFilePath({BankSeries::Loto6, 2086}), refusal);
  const std::string later = NoonInJapan(std::chrono::year_month_day(std::chrono::year(2026) / 12 / 9));
  EXPECT_EQ(RunService(temp, {"update", store, "--bank", bank.base(), "--metrics", metrics}, later).status, 1);
  const auto failed = testing::ReadPrometheusText(FileText(metrics));
  ASSERT_EQ(failed.problem, "");
  EXPECT_EQ(failed.samples.at("norv_update_exit_code"), "1");
  EXPECT_EQ(failed.samples.at("norv_update_last_success_timestamp_seconds"), now);
}

// The snapshot up to 2025-09-16, when every game was still drawn: LOTO6's
// newest is of 2025-09-15, the others' of 2025-09-16.
class CurrentStoreTest : public CommandTest {
 protected:
  std::string current = (temp / "current").string();

  void SetUp() override {
    service::Histories histories = BundledSeed();
    for (std::vector<Draw>& draws : histories) {
      while (draws.back().date > "2025-09-16") draws.pop_back();
    }
    Store::Create(current, histories);
  }

  Draw NextOn(Game game, const std::string& date) const {
    Draw draw = SampleDraw(game, Store::Open(current).NewestNumber(game) + 1);
    draw.date = date;
    return draw;
  }
};

TEST_F(CurrentStoreTest, AStoreBehindItsCalendarExits3WithOneLinePerStaleGame) {
  testing::LocalBank bank;
  // Ten days on: past the allowance of 8 days of LOTO6 and the Numbers games,
  // within MiniLOTO's 15 (its New Year break was two weeks).
  const Outcome run = RunService(temp, {"update", current, "--bank", bank.base()},
                                 NoonInJapan(std::chrono::year_month_day(std::chrono::year(2025) / 9 / 26)));
  EXPECT_EQ(run.status, 3);
  const std::vector<std::string> lines = Lines(run.err);
  ASSERT_EQ(lines.size(), 3u) << run.err;
  EXPECT_TRUE(lines[0].starts_with("norv-service update: loto6 is stale: newest draw ")) << run.err;
  EXPECT_NE(lines[0].find(" of 2025-09-15, 11 days ago (allowance 8 days"), std::string::npos) << run.err;
  EXPECT_TRUE(lines[1].starts_with("norv-service update: numbers4 is stale: ")) << run.err;
  EXPECT_TRUE(lines[2].starts_with("norv-service update: numbers3 is stale: ")) << run.err;
}

TEST_F(CurrentStoreTest, ARunThatAddsDrawsAndLeavesNoGameStaleExits0) {
  testing::LocalBank bank;
  const Draw loto6 = NextOn(Game::Loto6, "2025-09-18"), mini = NextOn(Game::MiniLoto, "2025-09-23"),
             numbers4 = NextOn(Game::Numbers4, "2025-09-17"), numbers3 = NextOn(Game::Numbers3, "2025-09-17");
  bank.PublishDraw(loto6);
  bank.PublishDraw(mini);
  bank.PublishNumbers(numbers4, numbers3);
  const std::string metrics = (temp / "norv.prom").string();
  const Outcome run = RunService(temp, {"update", current, "--bank", bank.base(), "--metrics", metrics},
                                 NoonInJapan(std::chrono::year_month_day(std::chrono::year(2025) / 9 / 24)));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Lines(run.out).size(), 4u);
  const auto figures = testing::ReadPrometheusText(FileText(metrics));
  ASSERT_EQ(figures.problem, "");
  for (const std::string game : {"loto6", "miniloto", "numbers4", "numbers3"}) {
    EXPECT_EQ(figures.samples.at("norv_stale{game=\"" + game + "\"}"), "0");
    EXPECT_EQ(figures.samples.at("norv_update_added{game=\"" + game + "\"}"), "1");
  }
  EXPECT_EQ(figures.samples.at("norv_update_exit_code"), "0");
}

}  // namespace
}  // namespace norv::service
