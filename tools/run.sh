#!/usr/bin/env bash
# Builds Norvale and starts it under Wine. Unless NORVALE_DIRECTORY_1 says
# otherwise, it also serves the real draw history on 127.0.0.1 with the
# maker's service (norv-service serve, which runs nginx on the site it
# publishes from a store under build/ made from the bundled snapshot) and
# points Norvale at it. Nothing reaches the bank unless
# asked: --update first runs norv-service update on that store.
#   tools/run.sh [--update] [ARGUMENTS FOR NORV.EXE]
#
# With a display: Norvale runs in a Wine prefix of its own that keeps its
# settings and histories between runs (build/run-prefix).
# Without one: it starts Xvfb, makes a fresh demonstration prefix
# (build/demo-prefix) set to run resident with a start-up check, lets that
# one check fill the four histories, saves a screenshot and prints the counts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/tools/setup.sh"
. "$root/tools/service-common.sh"

update=""
if [ "${1:-}" = "--update" ]; then update=1; shift; fi

echo "run: building"
cmake -S . -B build/win -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-posix.cmake" >/dev/null
cmake --build build/win -j "$(nproc)" --target norv nnote >/dev/null

headless=""
[ -n "${DISPLAY:-}" ] || headless=1
if [ -n "$headless" ]; then export WINEPREFIX="$root/build/demo-prefix"; else export WINEPREFIX="$root/build/run-prefix"; fi
. "$root/tools/wine-env"

state="$root/build/run-service"
store="$root/build/run-store"
native="$root/build/native"
xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  stop_pid "$state/serve.pid"
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

if [ -z "${NORVALE_DIRECTORY_1:-}" ]; then
  build_service "$native"
  service=$(service_binary "$native")
  # Made once from the snapshot and kept, so that updates stay.
  [ -f "$store/norv-store" ] || { seed_store "$native" "$store"; echo "run: store $store made from the bundled snapshot"; }
  if [ -n "$update" ]; then
    echo "run: updating the store from the bank"
    status=0
    "$service" update "$store" || status=$?
    case $status in
      0) ;;
      3) echo "run: the store is behind the draw calendar (lines above); serving it as it is" ;;
      *) echo "run: the update failed; serving the store as it is" ;;
    esac
  fi
  mkdir -p "$state"
  rm -f "$state/serve.port"
  "$service" serve "$store" --port 0 --port-file "$state/serve.port" --env-file "$state/serve.env" \
    </dev/null >"$state/serve.log" 2>&1 &
  echo $! >"$state/serve.pid"
  wait_for_port "$state/serve.port" "$state/serve.pid" || { cat "$state/serve.log" >&2; exit 1; }
  set -a; . "$state/serve.env"; set +a
  echo "run: Norvale reads the real draw history from norv-service serve: $NORVALE_DIRECTORY_1"
fi

if [ -n "$headless" ]; then
  for n in $(seq 140 180); do [ -e "/tmp/.X11-unix/X$n" ] || { export DISPLAY=":$n"; break; }; done
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  sleep 1
  openbox --sm-disable >/dev/null 2>&1 &
  echo "run: no display found; started Xvfb on $DISPLAY"
  rm -rf "$WINEPREFIX"
fi

if [ ! -d "$WINEPREFIX/drive_c" ]; then
  echo "run: creating Norvale's Wine prefix in $WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver -w
  "$root/tools/wine-fonts.sh" --ui
fi

# The program never creates its data files; an installer would. Stand in for it
# with empty files, which the first check fills with the whole history.
appdata=$(wine cmd.exe /c echo %APPDATA% 2>/dev/null | tr -d '\r')
datadir="$(winepath -u "$appdata" 2>/dev/null)/Pellmark/T-NORV"
mkdir -p "$datadir"
for f in dat_lot6.tan dat_mini.tan dat_num4.tan dat_num3.tan; do
  [ -e "$datadir/$f" ] || : >"$datadir/$f"
done

if [ -z "$headless" ]; then
  echo "run: starting Norvale"
  wine build/win/norv.exe "$@"
  wineserver -w
  exit 0
fi

# Resident, with a check one second after start that shows the window when done.
key='HKCU\Software\Pellmark\T-NORV'
for pair in win=0 mod=1 kid=1 dkg=1 msg=1 snd=0; do
  wine reg add "$key" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1
done
wine build/win/norv.exe &
counts() {
  local out="" f size rec
  for f in dat_lot6.tan:58 dat_mini.tan:42 dat_num4.tan:36 dat_num3.tan:37; do
    size=$(stat -c %s "$datadir/${f%%:*}"); rec=${f#*:}
    out="$out ${f%%:*}=$((size / rec))"
  done
  echo "$out"
}
# The check is done when every file holds draws and the counts stop moving
# (the full histories first, then each game's newest draw from its page).
previous=""
for _ in $(seq 120); do
  sleep 1
  c=$(counts)
  case "$c" in *"=0"*) previous=""; continue ;; esac
  [ "$c" = "$previous" ] && break
  previous=$c
done
shot="$root/build/norvale-screenshot.png"
import -display "$DISPLAY" -window root "$shot" 2>/dev/null && echo "run: screenshot saved to $shot"
echo "run: draws held after one check:$(counts)"
echo "run: Norvale ran headless under Xvfb; stopping it"
