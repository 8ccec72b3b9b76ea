#include "settings/window_position.h"

namespace norv {

namespace {

// The stored edge comes from the registry and may be any integer, so the
// sums are formed in 64 bits.
long long OuterSize(const EdgeMetrics& m) { return static_cast<long long>(m.windowSize) + 2LL * m.border; }

}  // namespace

int CentredEdge(const EdgeMetrics& m) { return static_cast<int>((m.workSize - OuterSize(m)) / 2); }

int PlaceLeftEdge(int stored, const EdgeMetrics& m) {
  const long long b = m.border;
  const long long a = m.workSize;
  const long long w = OuterSize(m);
  if (a <= w || stored < b - 1) {
    return static_cast<int>(b - 1);
  }
  if (stored + w - b > a) {
    return static_cast<int>(b + a - w);
  }
  return stored;
}

// The top rule keeps one more pixel free at the bottom than the left rule
// does at the right.
int PlaceTopEdge(int stored, const EdgeMetrics& m) {
  const long long b = m.border;
  const long long a = m.workSize;
  const long long h = OuterSize(m);
  if (a <= h || stored < b - 1) {
    return static_cast<int>(b - 1);
  }
  if (stored + h - b + 1 > a) {
    return static_cast<int>(b + a - h - 1);
  }
  return stored;
}

}  // namespace norv
