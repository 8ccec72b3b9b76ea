#!/usr/bin/env bash
# Builds Norvale and starts it under Wine, in a Wine prefix of its own that
# keeps its settings and draw histories between runs (build/run-prefix).
# Without a display it runs under Xvfb, saves a screenshot and says so.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/setup.sh"

cmake -S . -B build/win -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-posix.cmake" >/dev/null
cmake --build build/win -j "$(nproc)" --target norv $(grep -q '^nnote:' build/win/Makefile 2>/dev/null && echo nnote) >/dev/null

export WINEPREFIX="$root/build/run-prefix"
. "$root/tools/wine-env"

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 140 180); do [ -e "/tmp/.X11-unix/X$n" ] || { export DISPLAY=":$n"; break; }; done
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  sleep 1
  openbox --sm-disable >/dev/null 2>&1 &
  echo "run: no display found; started Xvfb on $DISPLAY"
fi

if [ ! -d "$WINEPREFIX" ]; then
  echo "run: creating Norvale's Wine prefix in $WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver -w
fi

# The program never creates its data files; an installer would. Stand in for it.
appdata=$(wine cmd.exe /c echo %APPDATA% 2>/dev/null | tr -d '\r')
datadir=$(winepath -u "$appdata" 2>/dev/null)/Pellmark/T-NORV
mkdir -p "$datadir"
for f in dat_lot6.tan dat_mini.tan dat_num4.tan dat_num3.tan; do
  [ -e "$datadir/$f" ] || : >"$datadir/$f"
done

if [ -z "$xvfb_pid" ]; then
  echo "run: starting Norvale"
  wine build/win/norv.exe "$@"
  wineserver -w
else
  wine build/win/norv.exe "$@" &
  sleep "${NORVALE_RUN_SECONDS:-8}"
  shot="$root/build/norvale-screenshot.png"
  import -display "$DISPLAY" -window root "$shot" 2>/dev/null && echo "run: screenshot saved to $shot"
  echo "run: Norvale ran headless for ${NORVALE_RUN_SECONDS:-8} s under Xvfb; stopping it"
fi
