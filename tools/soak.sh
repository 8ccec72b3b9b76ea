#!/usr/bin/env bash
# The completeness soak: DAYS days of new draws, faults on the addresses the
# program asks for and checks killed part-way, against the test service
# (tools/service-ctl); then one good check with the faults gone must leave every data
# file equal to the published history, byte for byte
# (tests/win/helpers/soak_driver.cpp). The same SEED plays the same days.
#   tools/soak.sh DAYS SEED [--no-hangs]
# --no-hangs leaves out the rare address that never answers, each of which
# costs a check the test build's whole stall limit (10 s), once or twice.
# Exit code: the driver's (0 complete, 1 a data file did not match, 2 the
# program died, hung or did not start, 3 no service or no setup).
# Uses build/native (norv-test-service) and build/win (soak_driver, norv_probed,
# companion_standin) and builds whichever is missing. Each DAYS and SEED has a
# folder of its own, build/soak-DAYS-SEED, for the service's state and the
# Wine prefix, so a long soak and the test run's short one can run at once
# and neither touches the Windows tests' own.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
days=${1:-}
seed=${2:-}
hangs=${3:-}
[[ "$days" =~ ^[0-9]+$ && "$seed" =~ ^[0-9]+$ && ( -z "$hangs" || "$hangs" == --no-hangs ) ]] \
  || { echo "usage: $0 DAYS SEED [--no-hangs]" >&2; exit 3; }
native=$root/build/native
win=$root/build/win
work=$root/build/soak-$days-$seed
state=$work/state

build_missing_programs() {
  local missing=() target
  for target in soak_driver norv_probed companion_standin; do
    [ -f "$win/$target.exe" ] || missing+=("$target")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "soak: building ${missing[*]} in $win" >&2
  cmake --build "$win" --target "${missing[@]}" -j "$(nproc)" >"$win/soak.build.log" 2>&1 \
    || { tail -n 40 "$win/soak.build.log" >&2; return 1; }
}

build_missing_programs || exit 3
mkdir -p "$work"
exec 9>"$work.lock"
flock -n 9 || { echo "soak: another soak $days $seed is running in $work" >&2; exit 3; }
trap '"$root/tools/service-ctl" stop "$state" >/dev/null' EXIT
"$root/tools/service-ctl" start "$state" "$native" >/dev/null 9>&- || exit 3

export WINEPREFIX=$work/prefix
# A prefix whose last run is still being torn down cannot be made afresh.
wineserver -w
"$root/tools/with-wine-display.sh" 9>&- bash -c '
  cd "$1" && NORVALE_LOCAL_SERVICES="Z:$2" "$3/tools/wine-exec" ./soak_driver.exe "${@:4}"
' soak "$win" "$state" "$root" "$days" "$seed" ${hangs:+"$hangs"} | sed -u 's/\r$//'
code=${PIPESTATUS[0]}
wineserver -w
exit "$code"
