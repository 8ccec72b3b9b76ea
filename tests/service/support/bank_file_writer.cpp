#include "tests/service/support/bank_file_writer.h"

#include <cstdlib>
#include <iostream>

#include "service/shift_jis.h"

namespace norv::service::testing {

namespace {

constexpr std::string_view kLotoClasses[] = {"１等", "２等", "３等", "４等", "５等"};
constexpr std::string_view kNumbersClasses[] = {"ストレート", "ボックス", "セット（ストレート）", "セット（ボックス）",
                                                "ミニ"};

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

std::string PrizeRow(std::string_view label, std::string_view extraCell, long long amount, int index) {
  std::string row(label);
  if (!extraCell.empty()) row += "," + std::string(extraCell);
  if (amount == 0) return row + ",該当なし,該当なし\r\n";
  return row + "," + std::to_string(3 + index * 37) + "口," + std::to_string(amount) + "円\r\n";
}

std::string TitleRows(std::string_view name, const Draw& draw) {
  const std::string date = EraDate(draw.date);
  return "第" + std::to_string(draw.number) + "回" + std::string(name) + ",数字選択式全国自治宝くじ," + date +
         ",東京 宝くじドリーム館\r\n支払期間," + date + "から1年間\r\n";
}

std::string NumbersBlock(const Draw& draw) {
  const bool three = draw.game == Game::Numbers3;
  std::string block = std::string(three ? "ナンバーズ３" : "ナンバーズ４") + "抽せん数字," + draw.digits + "\r\n";
  for (std::size_t i = 0; i < draw.prizes.size(); ++i) {
    const std::string_view extra = i == 0 ? std::string_view(draw.digits) : i == 4 ? "下２ケタ" : "";
    block += PrizeRow(kNumbersClasses[i], extra, draw.prizes[i], static_cast<int>(i));
  }
  return block + (three ? "ナンバーズ３" : "ナンバーズ４") + "販売実績額,210000000円\r\n";
}

}  // namespace

std::string EraDate(std::string_view isoDate) {
  const int year = std::stoi(std::string(isoDate.substr(0, 4)));
  const int month = std::stoi(std::string(isoDate.substr(5, 2)));
  const int day = std::stoi(std::string(isoDate.substr(8, 2)));
  const bool reiwa = isoDate >= "2019-05-01";
  const int eraYear = year - (reiwa ? 2018 : 1988);
  return std::string(reiwa ? "令和" : "平成") + (eraYear == 1 ? std::string("元") : std::to_string(eraYear)) + "年" +
         std::to_string(month) + "月" + std::to_string(day) + "日";
}

std::string BankFileText(const Draw& draw) {
  const bool loto6 = draw.game == Game::Loto6;
  std::string text = loto6 ? "A52\r\n" : "A51\r\n";
  text += TitleRows(loto6 ? "ロト６" : "ミニロト", draw);
  text += "本数字";
  for (int ball : draw.balls) text += "," + TwoDigits(ball);
  text += ",ボーナス数字," + TwoDigits(draw.bonus) + "\r\n";
  for (std::size_t i = 0; i < draw.prizes.size(); ++i) {
    text += PrizeRow(kLotoClasses[i], "", draw.prizes[i], static_cast<int>(i));
  }
  if (loto6) text += "キャリーオーバー,0円\r\n";
  text += "販売実績額,1300000000円\r\n";
  text += std::string(kLotoClasses[0]) + ",申込数字が本数字と全て一致\r\n";
  return text;
}

std::string BankNumbersFileText(const Draw& numbers4, const Draw& numbers3) {
  return "A50\r\n" + TitleRows("ナンバーズ", numbers3) + NumbersBlock(numbers3) + NumbersBlock(numbers4);
}

std::string ShiftJis(std::string_view utf8) {
  const auto bytes = EncodeShiftJis(utf8);
  if (!bytes) {
    std::cerr << "no Shift_JIS form for: " << utf8 << '\n';
    std::abort();
  }
  return *bytes;
}

Draw SampleDraw(Game game, int number) {
  Draw draw;
  draw.game = game;
  draw.number = number;
  draw.date = "2026-" + TwoDigits(1 + number % 12) + "-" + TwoDigits(1 + number % 28);
  switch (game) {
    case Game::Loto6:
      draw.balls = {1 + number % 7, 9, 17, 24, 30, 43};
      draw.bonus = 12;
      draw.prizes = {number % 3 == 0 ? 0 : 200000000, 15000000, 400000, 8000, 1000};
      break;
    case Game::MiniLoto:
      draw.balls = {2, 8 + number % 5, 15, 22, 31};
      draw.bonus = 5;
      draw.prizes = {11000000, 150000, 12000, 1000};
      break;
    case Game::Numbers4:
      draw.digits = TwoDigits(number % 100) + "47";
      draw.prizes = {900000, 37500, 468700, 18700};
      break;
    case Game::Numbers3:
      draw.digits = std::to_string(number % 10) + "38";
      draw.prizes = {90000, 15000, 52500, 7500, number % 2 == 0 ? 0 : 9000};
      break;
  }
  return draw;
}

}  // namespace norv::service::testing
