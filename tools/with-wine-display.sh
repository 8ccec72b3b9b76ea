#!/usr/bin/env bash
# Runs a command with a fresh, quiet Wine prefix, a persistent wineserver and an
# Xvfb display of its own; tears all three down afterwards.
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
display_fifo=$(mktemp -u /tmp/norvale-displayfd.XXXXXX)
mkfifo "$display_fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_fifo" >/dev/null 2>&1 &
xvfb_pid=$!
display_number=$(timeout 20 head -n 1 "$display_fifo")
rm -f "$display_fifo"
if [ -z "$display_number" ]; then
  echo "with-wine-display: Xvfb did not start" >&2
  kill "$xvfb_pid" >/dev/null 2>&1
  exit 1
fi
display=":$display_number"
export DISPLAY=$display
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
