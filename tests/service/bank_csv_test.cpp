#include "service/bank_csv.h"

#include <gtest/gtest.h>

#include "tests/service/support/bank_file_writer.h"

namespace norv::service {
namespace {

using testing::BankFileText;
using testing::BankNumbersFileText;
using testing::SampleDraw;
using testing::ShiftJis;

// The bank's own example of a LOTO6 file, values made up.
constexpr std::string_view kLoto6File =
    "A52\r\n"
    "第1234回ロト６,数字選択式全国自治宝くじ,令和8年1月5日,東京 宝くじドリーム館\r\n"
    "支払期間,令和8年1月6日から令和9年1月5日まで\r\n"
    "本数字,03,11,19,24,30,42,ボーナス数字,07\r\n"
    "１等,該当なし,該当なし\r\n"
    "２等,5口,15000000円\r\n"
    "３等,200口,400000円\r\n"
    "４等,9000口,8000円\r\n"
    "５等,150000口,1000円\r\n"
    "キャリーオーバー,300000000円\r\n"
    "販売実績額,1300000000円\r\n";

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos)
    ADD_FAILURE() << "no " << from << " in the file";
  else
    text.replace(at, from.size(), to);
  return text;
}

std::string ReasonFor(std::string_view bytes, std::optional<BankFileId> expected = std::nullopt) {
  try {
    ReadBankFile(bytes, expected);
  } catch (const BankFileError& error) {
    return error.what();
  }
  return "(read without complaint)";
}

std::string Numbers1234() {
  return BankNumbersFileText(SampleDraw(Game::Numbers4, 1234), SampleDraw(Game::Numbers3, 1234));
}

TEST(BankCsv, TheBanksExampleBecomesTheRecordNorvaleStores) {
  const std::vector<Draw> draws = ReadBankFile(ShiftJis(kLoto6File), BankFileId{BankSeries::Loto6, 1234});
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].date, "2026-01-05");
  EXPECT_EQ(RecordText(draws[0]),
            "1234"
            "031119243042"
            "07"
            "0000000000"
            "015000000"
            "00400000"
            "008000"
            "01000");
}

TEST(BankCsv, EveryGameReadsBackAsWritten) {
  for (Game game : {Game::Loto6, Game::MiniLoto}) {
    for (int number : {1, 3, 694}) {
      const Draw draw = SampleDraw(game, number);
      EXPECT_EQ(ReadBankFile(ShiftJis(BankFileText(draw))), std::vector<Draw>{draw}) << Describe(draw);
    }
  }
  const std::vector<Draw> numbers = ReadBankFile(ShiftJis(Numbers1234()), BankFileId{BankSeries::Numbers, 1234});
  // Numbers4 comes first although its block is second in the file.
  EXPECT_EQ(numbers, (std::vector<Draw>{SampleDraw(Game::Numbers4, 1234), SampleDraw(Game::Numbers3, 1234)}));
}

TEST(BankCsv, OddButValidShapesReadTheSame) {
  const std::string base(kLoto6File);
  const std::vector<Draw> expected = ReadBankFile(ShiftJis(base));
  const auto lineEnds = [&](std::string_view end) {
    std::string text;
    for (char c : base) {
      if (c == '\r') continue;
      if (c == '\n')
        text += end;
      else
        text += c;
    }
    return text;
  };
  const std::vector<std::pair<std::string, std::string>> shapes{
      {"LF line ends", lineEnds("\n")},
      {"CR line ends", lineEnds("\r")},
      {"no line end at the end", base.substr(0, base.size() - 2)},
      {"full-width spaces and blanks in cells",
       Replaced(Replaced(Replaced(base, "本数字,03", "本数字　, 03　"), "２等,5口", "　２等　,5口　"), "ボーナス数字",
                "ボーナス　数字")},
      {"full-width digits", Replaced(Replaced(base, "令和8年1月5日", "令和８年１月５日"), ",07\r", ",０７\r")},
      {"quoted cells", Replaced(base, "３等,200口,400000円", "\"３等\",\"200口\",\"400000円\"")},
      {"blank lines and trailing empty cells",
       Replaced(base, "\r\n４等,9000口,8000円", "\r\n\r\n,,\r\n４等,9000口,8000円,,")},
      {"rows describing the classes",
       base + "１等,申込数字が本数字６個と全て一致\r\n２等,本数字５個とボーナス数字１個が一致\r\n"},
      {"the classes described first", Replaced(base, "２等,5口", "２等,本数字５個と一致\r\n２等,5口")},
  };
  for (const auto& [name, text] : shapes) {
    try {
      EXPECT_EQ(ReadBankFile(ShiftJis(text)), expected) << name;
    } catch (const BankFileError& error) {
      ADD_FAILURE() << name << ": " << error.what();
    }
  }
  const std::string padded = Replaced(base, "第1234回", "第0694回");
  EXPECT_EQ(ReadBankFile(ShiftJis(padded), BankFileId{BankSeries::Loto6, 694})[0].number, 694);
}

TEST(BankCsv, ANumbersFileIsReadByItsBlocksInWhateverOrderTheyStand) {
  const Draw numbers4 = SampleDraw(Game::Numbers4, 1234), numbers3 = SampleDraw(Game::Numbers3, 1234);
  const std::string file = Numbers1234();
  const std::size_t second = file.find("ナンバーズ４抽せん数字");
  const std::string header = file.substr(0, file.find("ナンバーズ３抽せん数字"));
  const std::string block3 = file.substr(header.size(), second - header.size());
  const std::string block4 = file.substr(second);
  const std::vector<std::pair<std::string, std::string>> shapes{
      {"Numbers4 first", header + block4 + block3},
      {"sales rows between and after", header + block3 + "販売実績額合計,1円\r\n" + block4 + "販売実績額,2円\r\n"},
      {"full-width spaces",
       Replaced(Replaced(file, "ボックス,", "ボックス　,"), "ナンバーズ４抽せん数字,", "ナンバーズ４　抽せん数字,　")},
      {"half-width parentheses", Replaced(file, "セット（ボックス）", "セット(ボックス)")},
  };
  for (const auto& [name, text] : shapes) {
    try {
      EXPECT_EQ(ReadBankFile(ShiftJis(text)), (std::vector<Draw>{numbers4, numbers3})) << name;
    } catch (const BankFileError& error) {
      ADD_FAILURE() << name << ": " << error.what();
    }
  }
}

TEST(BankCsv, EraDatesBecomeIsoDates) {
  const std::vector<std::pair<std::string, std::string>> dates{
      {"令和元年5月1日", "2019-05-01"}, {"令和2年2月29日", "2020-02-29"}, {"平成31年4月30日", "2019-04-30"},
      {"平成6年10月7日", "1994-10-07"}, {"平成元年1月8日", "1989-01-08"}, {"令和８年１２月３１日", "2026-12-31"},
  };
  for (const auto& [era, iso] : dates) {
    const std::string text = Replaced(std::string(kLoto6File), "令和8年1月5日", era);
    EXPECT_EQ(ReadBankFile(ShiftJis(text))[0].date, iso) << era;
  }
  for (std::string_view bad : {"令和元年4月30日", "平成31年5月1日", "令和3年2月29日", "令和8年13月1日", "令和8年1月0日",
                               "2026年1月5日", "令和8年1月5日ごろ"}) {
    const std::string text = Replaced(std::string(kLoto6File), "令和8年1月5日", bad);
    EXPECT_NE(ReasonFor(ShiftJis(text)).find("no draw date"), std::string::npos) << bad;
  }
}

TEST(BankCsv, FileNamesOfTheBanksFormFixSeriesAndDraw) {
  EXPECT_EQ(BankFileIdFromName("A1020694.CSV"), (BankFileId{BankSeries::Loto6, 694}));
  EXPECT_EQ(BankFileIdFromName("/tmp/files/a1011353.csv"), (BankFileId{BankSeries::MiniLoto, 1353}));
  EXPECT_EQ(BankFileIdFromName("A1007055.CSV"), (BankFileId{BankSeries::Numbers, 7055}));
  for (std::string_view other :
       {"A1030694.CSV", "A102694.CSV", "A10206940.CSV", "A1020694.TXT", "draw.csv", "A102069x.CSV"}) {
    EXPECT_FALSE(BankFileIdFromName(other)) << other;
  }
  EXPECT_EQ(BankFilePath({BankSeries::Loto6, 694}), "/retail/takarakuji/loto/loto6/csv/A1020694.CSV");
  EXPECT_EQ(BankFilePath({BankSeries::MiniLoto, 1}), "/retail/takarakuji/loto/miniloto/csv/A1010001.CSV");
  EXPECT_EQ(BankFilePath({BankSeries::Numbers, 7055}), "/retail/takarakuji/numbers/csv/A1007055.CSV");
}

struct BadFile {
  std::string name;
  std::string bytes;
  std::string reason;  // a part of the one-line reason
  std::optional<BankFileId> expected;
};

std::vector<BadFile> BadFiles() {
  const std::string loto6(kLoto6File);
  const std::string numbers = Numbers1234();
  const BankFileId loto6Id{BankSeries::Loto6, 1234};
  return {
      {"an empty file", "", "empty", loto6Id},
      {"the refusal page",
       testing::ShiftJis(
           "<HTML><HEAD><TITLE>Access Denied</TITLE></HEAD><BODY>You don't have permission</BODY></HTML>"),
       "Access Denied", loto6Id},
      {"another HTML page", ShiftJis("\r\n <!DOCTYPE html><html><body>メンテナンス中</body></html>"), "HTML page",
       loto6Id},
      {"UTF-8 text", loto6, "not Shift_JIS", loto6Id},
      {"a zero byte", ShiftJis(Replaced(loto6, "東京", std::string("東\0京", 7))), "zero byte", loto6Id},
      {"no series line", ShiftJis(loto6.substr(5)), "does not begin with A50, A51 or A52", loto6Id},
      {"cut short before the fourth class", ShiftJis(loto6.substr(0, loto6.find("４等"))), "no ４等 row", loto6Id},
      {"cut short inside an amount", ShiftJis(loto6.substr(0, loto6.find("1000円"))), "５等", loto6Id},
      {"no sales row", ShiftJis(loto6.substr(0, loto6.find("販売実績額"))), "no 販売実績額 row", loto6Id},
      {"an A52 body under an A101 name", ShiftJis(loto6),
       "holds a LOTO6 (A52) draw where A1011234.CSV is a MiniLOTO (A51) file", BankFileId{BankSeries::MiniLoto, 1234}},
      {"another draw's title", ShiftJis(loto6), "names draw 1234 where draw 1235 was asked for",
       BankFileId{BankSeries::Loto6, 1235}},
      {"a MiniLOTO title in an A52 file", ShiftJis(Replaced(loto6, "ロト６", "ミニロト")), "not a LOTO6 draw", loto6Id},
      {"no title", ShiftJis(Replaced(loto6, "第1234回", "")), "no title row", loto6Id},
      {"six balls where seven are needed", ShiftJis(Replaced(loto6, ",42,ボーナス数字", ",ボーナス数字")),
       "holds 5 numbers and 1 ボーナス数字 where LOTO6 draws 6 and 1", loto6Id},
      {"no bonus number", ShiftJis(Replaced(loto6, ",ボーナス数字,07", "")), "ボーナス数字", loto6Id},
      {"a ball of 44", ShiftJis(Replaced(loto6, ",42,", ",44,")), "ball 44 is outside 1-43", loto6Id},
      {"a ball drawn twice", ShiftJis(Replaced(loto6, ",42,", ",30,")), "drawn twice", loto6Id},
      {"a ball that is not a number", ShiftJis(Replaced(loto6, ",42,", ",4x,")), "\"4x\", not a number", loto6Id},
      {"wrong class labels", ShiftJis(Replaced(loto6, "３等,", "３位,")), "no ３等 row", loto6Id},
      {"an amount that is not digits", ShiftJis(Replaced(loto6, "400000円", "40万円")),
       "amount \"40万円\" is not digits", loto6Id},
      {"an amount with commas", ShiftJis(Replaced(loto6, "３等,200口,400000円", "３等,200口,\"400,000円\"")),
       "is not digits", loto6Id},
      {"an amount without its 円", ShiftJis(Replaced(loto6, "400000円", "400000")), "is not digits", loto6Id},
      {"an amount wider than its field", ShiftJis(Replaced(loto6, "15000000円", "1500000000円")),
       "wider than its 9-digit field", loto6Id},
      {"a huge amount", ShiftJis(Replaced(loto6, "15000000円", "150000000000000000000000000円")), "wider than",
       loto6Id},
      {"winners that are not a count", ShiftJis(Replaced(loto6, "200口", "多数")), "not a count", loto6Id},
      {"a Numbers3 number of four digits",
       ShiftJis(
           Replaced(Replaced(numbers, "抽せん数字,438", "抽せん数字,4380"), "ストレート,438,", "ストレート,4380,")),
       "does not hold one number of 3 digits", BankFileId{BankSeries::Numbers, 1234}},
      {"a Numbers4 number of three digits", ShiftJis(Replaced(numbers, "抽せん数字,3447", "抽せん数字,344")),
       "does not hold one number of 4 digits", BankFileId{BankSeries::Numbers, 1234}},
      {"a straight row with another number", ShiftJis(Replaced(numbers, "ストレート,438,", "ストレート,439,")),
       "repeats \"439\" where 438 was drawn", BankFileId{BankSeries::Numbers, 1234}},
      {"no Numbers4 block", ShiftJis(numbers.substr(0, numbers.find("ナンバーズ４抽せん数字"))),
       "no ナンバーズ４抽せん数字 row", BankFileId{BankSeries::Numbers, 1234}},
      {"the Numbers3 block cut short", ShiftJis(Replaced(numbers, "ミニ,", "ミニマム,")), "no ミニ row",
       BankFileId{BankSeries::Numbers, 1234}},
      {"two Numbers3 blocks", ShiftJis(numbers + "ナンバーズ３抽せん数字,111\r\n"), "two ナンバーズ３抽せん数字 rows",
       BankFileId{BankSeries::Numbers, 1234}},
  };
}

TEST(BankCsv, AFileThatIsNotAWellFormedDrawFileIsRefusedWithItsReason) {
  for (const BadFile& bad : BadFiles()) {
    const std::string reason = ReasonFor(bad.bytes, bad.expected);
    EXPECT_NE(reason.find(bad.reason), std::string::npos) << bad.name << ": " << reason;
    EXPECT_EQ(reason.find('\n'), std::string::npos) << bad.name << ": " << reason;
  }
}

TEST(BankCsv, AReasonQuotesACellWithoutItsControlCharacters) {
  const std::string text =
      Replaced(std::string(kLoto6File), "400000円", "40\x1b[2J0000000000000000000000000000000000000000000000円");
  const std::string reason = ReasonFor(ShiftJis(text));
  EXPECT_EQ(reason.find('\x1b'), std::string::npos) << reason;
  EXPECT_NE(reason.find("\"40?[2J000"), std::string::npos) << reason;
  EXPECT_LT(reason.size(), 120u) << reason;
}

}  // namespace
}  // namespace norv::service
