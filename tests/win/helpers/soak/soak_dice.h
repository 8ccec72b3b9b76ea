#pragma once
// Every random choice of a soak comes from one seeded generator, so the same
// seed plays the same days (the program's own timing aside).

#include <cstdint>
#include <random>

namespace norv::soak {

class Dice {
 public:
  explicit Dice(std::uint64_t seed) : engine_(seed) {}

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
  bool Chance(double probability) { return std::bernoulli_distribution(probability)(engine_); }

 private:
  std::mt19937_64 engine_;
};

}  // namespace norv::soak
