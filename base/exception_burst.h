#pragma once
// When an exception that escaped a handler is put on the screen: once per
// burst. A handler that fails on every paint or timer tick would otherwise
// pile up boxes, and a box shown inside another one's message loop would nest
// the failure.

#include <cstdint>

namespace norv {

class ExceptionBurst {
 public:
  // Exceptions closer together than this belong to one burst.
  static constexpr std::uint64_t kQuietMs = 2000;

  // An exception happened at `nowMs`; true when it should be shown. The caller
  // then calls Shown once the box is closed.
  bool Arrived(std::uint64_t nowMs);
  void Shown(std::uint64_t nowMs);

 private:
  bool showing_ = false;
  bool seen_ = false;
  std::uint64_t lastMs_ = 0;
};

}  // namespace norv
