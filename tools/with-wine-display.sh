#!/usr/bin/env bash
# Runs a command with a fresh, quiet Wine prefix, a persistent wineserver and an
# Xvfb display of its own; tears all three down afterwards.
# With NORVALE_WINE_LANES=N (default 1), lanes 2..N get the same again: a copy
# of the prefix in WINEPREFIX-laneK, a wineserver and a display of their own
# (NORVALE_LANE_K_DISPLAY), for tests run side by side (tools/wine-lane).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export NORVALE_BUILD="${NORVALE_BUILD:-$here/../build}"
# The HTTPS tests' certificates come from a CA made for this run, which the
# host, and so the prefix made below, trusts until the run ends (set
# NORVALE_TEST_CA to an empty value to run without it).
if [ -z "${NORVALE_TEST_CA+set}" ]; then exec "$here/test-ca.sh" "$0" "$@"; fi
. "$here/wine-env"

# Xvfb picks a free display itself and writes its number once it listens, so
# runs side by side never share one, and a server that failed to start stops
# the run here instead of leaving Wine without a display.
# A window manager on each: without one, Wine waits for each closed window to
# be withdrawn, which makes every program exit take seconds.
helper_pids=()
start_display() {  # sets started_display to its name
  local fifo number
  fifo=$(mktemp -u /tmp/norvale-displayfd.XXXXXX)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  local xvfb=$!
  number=$(timeout 20 head -n 1 "$fifo")
  rm -f "$fifo"
  if [ -z "$number" ]; then
    echo "with-wine-display: Xvfb did not start" >&2
    kill "$xvfb" >/dev/null 2>&1
    return 1
  fi
  DISPLAY=":$number" openbox --sm-disable >/dev/null 2>&1 &
  helper_pids+=("$!" "$xvfb")
  started_display=":$number"
}

lanes=${NORVALE_WINE_LANES:-1}
main_prefix=$WINEPREFIX
cleanup() {
  for lane in $(seq 2 "$lanes"); do WINEPREFIX=$main_prefix-lane$lane wineserver -k >/dev/null 2>&1; done
  wineserver -k >/dev/null 2>&1
  for pid in "${helper_pids[@]}"; do kill "$pid" >/dev/null 2>&1; done
  for pid in "${helper_pids[@]}"; do wait "$pid" 2>/dev/null; done
}
trap cleanup EXIT

start_display || exit 1
display=$started_display
export DISPLAY=$display
if [ -z "${NORVALE_KEEP_PREFIX:-}" ]; then rm -rf "$WINEPREFIX"; fi
mkdir -p "$(dirname "$WINEPREFIX")"
wineboot --init >/dev/null 2>&1
wineserver -w
"$here/wine-fonts.sh"

# Each lane's prefix is copied while no wineserver holds the first one.
for lane in $(seq 2 "$lanes"); do
  "$here/../tests/win/installer/fresh-prefix.sh" copy "$main_prefix" "$main_prefix-lane$lane" || exit 1
done

start_lane() {  # prefix, display
  WINEPREFIX=$1 wineserver -p >/dev/null 2>&1
  for _ in $(seq 50); do xdpyinfo -display "$2" >/dev/null 2>&1 && break; sleep 0.1; done
  # Start Wine's own background processes now, detached from any output pipe:
  # started later by a test, they would hold ctest's pipe open after it ends.
  WINEPREFIX=$1 DISPLAY=$2 wine cmd.exe /c exit </dev/null >/dev/null 2>&1
}
start_lane "$main_prefix" "$display"
for lane in $(seq 2 "$lanes"); do
  start_display || exit 1
  export "NORVALE_LANE_${lane}_DISPLAY=$started_display"
  start_lane "$main_prefix-lane$lane" "$started_display"
done

"$@"
