#include "service/draw.h"

#include <algorithm>
#include <array>
#include <set>

#include "base/text_fields.h"

namespace norv::service {

namespace {

const std::array<GameRules, 4>& AllRules() {
  static const std::array<GameRules, 4> rules{{
      {Game::Loto6, "loto6", 6, 43, 0, {10, 9, 8, 6, 5}},
      {Game::MiniLoto, "miniloto", 5, 31, 0, {8, 7, 5, 4}},
      {Game::Numbers4, "numbers4", 0, 0, 4, {7, 6, 7, 6}},
      {Game::Numbers3, "numbers3", 0, 0, 3, {6, 6, 6, 5, 5}},
  }};
  return rules;
}

bool FitsDigits(long long value, int width) {
  return value >= 0 && std::to_string(value).size() <= static_cast<std::size_t>(width);
}

std::optional<std::string> BallProblem(const Draw& draw, const GameRules& rules) {
  if (static_cast<int>(draw.balls.size()) != rules.balls) {
    return std::to_string(draw.balls.size()) + " numbers where " + std::to_string(rules.balls) + " are drawn";
  }
  if (!draw.digits.empty()) return std::string("a winning number on a lottery draw");
  std::set<int> seen;
  std::vector<int> all = draw.balls;
  all.push_back(draw.bonus);
  for (int ball : all) {
    if (ball < 1 || ball > rules.highestBall) {
      return "ball " + std::to_string(ball) + " is outside 1-" + std::to_string(rules.highestBall);
    }
    if (!seen.insert(ball).second) return "ball " + std::to_string(ball) + " drawn twice";
  }
  return std::nullopt;
}

std::optional<std::string> DigitsProblem(const Draw& draw, const GameRules& rules) {
  if (!draw.balls.empty() || draw.bonus != 0) return std::string("balls on a Numbers draw");
  if (static_cast<int>(draw.digits.size()) != rules.digits || !AllDigits(draw.digits)) {
    return "winning number \"" + draw.digits + "\" is not " + std::to_string(rules.digits) + " digits";
  }
  return std::nullopt;
}

}  // namespace

const GameRules& RulesOf(Game game) {
  return AllRules()[static_cast<std::size_t>(GameIndex(game))];
}

std::optional<Game> GameFromStoreName(std::string_view name) {
  for (const GameRules& rules : AllRules()) {
    if (rules.storeName == name) return rules.game;
  }
  return std::nullopt;
}

std::optional<std::string> DrawProblem(const Draw& draw) {
  const GameRules& rules = RulesOf(draw.game);
  if (draw.number < 1 || draw.number > kHighestDrawNumber) {
    return "draw number " + std::to_string(draw.number) + " is outside 1-9999";
  }
  if (auto problem = rules.balls > 0 ? BallProblem(draw, rules) : DigitsProblem(draw, rules)) return problem;
  if (draw.prizes.size() != rules.prizeWidths.size()) {
    return std::to_string(draw.prizes.size()) + " prize classes where there are " +
           std::to_string(rules.prizeWidths.size());
  }
  for (std::size_t i = 0; i < draw.prizes.size(); ++i) {
    if (!FitsDigits(draw.prizes[i], rules.prizeWidths[i])) {
      return "prize " + std::to_string(i + 1) + " of " + std::to_string(draw.prizes[i]) + " yen does not fit " +
             std::to_string(rules.prizeWidths[i]) + " digits";
    }
  }
  return std::nullopt;
}

std::string RecordText(const Draw& draw) {
  const GameRules& rules = RulesOf(draw.game);
  std::string record = FixedDigits(draw.number, 4);
  if (rules.balls > 0) {
    for (int ball : draw.balls) record += FixedDigits(ball, 2);
    record += FixedDigits(draw.bonus, 2);
  } else {
    record += draw.digits;
  }
  for (std::size_t i = 0; i < draw.prizes.size(); ++i) record += FixedDigits(draw.prizes[i], rules.prizeWidths[i]);
  return record;
}

std::string Describe(const Draw& draw) {
  std::string line(RulesOf(draw.game).storeName);
  line += " " + std::to_string(draw.number) + " " + draw.date;
  if (draw.balls.empty()) {
    line += " " + draw.digits;
  } else {
    for (int ball : draw.balls) line += " " + FixedDigits(ball, 2);
    line += " (" + FixedDigits(draw.bonus, 2) + ")";
  }
  for (long long prize : draw.prizes) line += " " + std::to_string(prize);
  return line;
}

}  // namespace norv::service
