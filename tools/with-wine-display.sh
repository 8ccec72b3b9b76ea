#!/usr/bin/env bash
# Runs a command with a fresh, quiet Wine prefix, a persistent wineserver and an
# Xvfb display of its own; tears all three down afterwards.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export NORVALE_BUILD="${NORVALE_BUILD:-$here/../build}"
. "$here/wine-env"

display=""
for n in $(seq 90 130); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
# A window manager: without one, Wine waits for each closed window to be
# withdrawn, which makes every program exit take seconds.
openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!

cleanup() {
  wineserver -k >/dev/null 2>&1
  kill "$wm_pid" >/dev/null 2>&1
  kill "$xvfb_pid" >/dev/null 2>&1
  wait "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

if [ -z "${NORVALE_KEEP_PREFIX:-}" ]; then rm -rf "$WINEPREFIX"; fi
mkdir -p "$(dirname "$WINEPREFIX")"
wineboot --init >/dev/null 2>&1
wineserver -w
"$here/wine-fonts.sh"
wineserver -p >/dev/null 2>&1
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
# Start Wine's own background processes now, detached from any output pipe:
# started later by a test, they would hold ctest's pipe open after it ends.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1

"$@"
