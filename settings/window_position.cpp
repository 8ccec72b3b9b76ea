#include "settings/window_position.h"

namespace norv {

namespace {

// The stored edge comes from the registry and may be any integer, so the
// sums are formed in 64 bits.
long long OuterSize(const EdgeMetrics& m) { return static_cast<long long>(m.windowSize) + 2LL * m.border; }

// Off the near side, or a window wider than the work area: flush with the
// near side. Past the far side, less `farSlack` pixels: flush with that.
int PlaceEdge(int stored, const EdgeMetrics& m, long long farSlack) {
  const long long b = m.border;
  const long long a = m.workSize;
  const long long w = OuterSize(m);
  if (a <= w || stored < b - 1) {
    return static_cast<int>(b - 1);
  }
  if (stored + w - b + farSlack > a) {
    return static_cast<int>(b + a - w - farSlack);
  }
  return stored;
}

}  // namespace

int CentredEdge(const EdgeMetrics& m) { return static_cast<int>((m.workSize - OuterSize(m)) / 2); }

int PlaceLeftEdge(int stored, const EdgeMetrics& m) { return PlaceEdge(stored, m, 0); }

// The top rule keeps one more pixel free at the bottom than the left rule
// does at the right.
int PlaceTopEdge(int stored, const EdgeMetrics& m) { return PlaceEdge(stored, m, 1); }

}  // namespace norv
