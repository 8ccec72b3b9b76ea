#!/usr/bin/env bash
# The user's own numbers: matching 1,000 lines against four 9,999-draw
# histories, and the store's part of a check that finds a new draw of every
# game with 1,000 lines registered against the same check with none, as a
# ratio of the medians of one run. Builds norv_bench in build/release.
#   tools/bench-my-numbers.sh [REPETITIONS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
repetitions=${1:-5}
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release -Wno-dev >/dev/null
cmake --build "$root/build/release" -j2 --target norv_bench >/dev/null
"$root/build/release/norv_bench" --benchmark_filter='MatchThousandLines|CheckFindingANewDraw' \
  --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
  awk -F, '
    /_median"/ { name = $1; gsub(/"/, "", name); ms[name] = $3 }
    END {
      printf "matching 1,000 lines, four 9,999-draw histories: %.1f ms\n", ms["BM_MatchThousandLinesAgainstFourFullHistories_median"]
      none = ms["BM_CheckFindingANewDraw/0_median"]; lines = ms["BM_CheckFindingANewDraw/1000_median"]
      printf "check finding a new draw: %.1f ms with no lines, %.1f ms with 1,000: ratio %.2f\n", none, lines, lines / none
    }'
