#!/usr/bin/env bash
# Paint time of the LOTO6 grid with 9,999 draws against 10 draws, under Wine
# on a display of its own. Run after building build/win (grid_paint_bench).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
NORVALE_BUILD=${NORVALE_BUILD:-$root/build/bench-grid} "$root/tools/with-wine-display.sh" \
  bash -c 'cd "'"$root"'/build/win" && wine ./grid_paint_bench.exe 2>/dev/null | tr -d "\r"'
