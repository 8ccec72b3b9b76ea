#!/usr/bin/env bash
# Duration of a check that finds nothing new: norv.exe under Wine against the
# test service (tools/service-ctl: norv-test-service, the real store), every
# data file complete; beside it three baselines on the same requests in the
# same order:
#   - the platform's floor: wininet_floor.exe under Wine, the same WinInet
#     calls as norv.exe's fetch (its own Internet handle per request, the same
#     options and flags) one after another on one thread, and nothing else;
#   - curl with a fresh connection per request, as norv.exe makes them;
#   - curl with all the requests over one kept-alive connection in one process.
# curl is timed by itself (its process start left out).
# Run after building build/native (norv-test-service) and build/win
# (norv_probed, check_bench, wininet_floor).
#   tools/bench-check.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10}
state=$(mktemp -d)
trap '"$root/tools/service-ctl" stop "$state" >/dev/null; rm -rf "$state"' EXIT
"$root/tools/service-ctl" start "$state" "$root/build/native" >/dev/null
port=$(cat "$state/service.port")
origin="http://127.0.0.1:$port"

# Rounds of five checks and five floor runs each, so that the other load of the
# machine, which comes and goes, weighs on both alike.
output=$("$root/tools/with-wine-display.sh" bash -c '
  cd "'"$root"'/build/win"
  export NORVALE_LOCAL_SERVICES="Z:'"$state"'"
  left='"$runs"'
  urls=()
  while [ "$left" -gt 0 ]; do
    n=$(( left < 5 ? left : 5 ))
    out=$(wine ./check_bench.exe "$n" 2>/dev/null | tr -d "\r")
    printf "%s\n" "$out"
    [ "${#urls[@]}" -gt 0 ] || mapfile -t urls < <(printf "%s\n" "$out" | awk -v origin="'"$origin"'" "/^request /{print origin \$2}")
    [ "${#urls[@]}" -gt 0 ] || break
    wine ./wininet_floor.exe --runs "$n" "${urls[@]}" | tr -d "\r"
    left=$(( left - n ))
  done
')

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ms() { awk -v us="$1" 'BEGIN {printf "%.3f ms", us / 1000}'; }

check_us=$(printf '%s\n' "$output" | awk '/^check_us /{print $2}' | median)
wininet_us=$(printf '%s\n' "$output" | awk '/^floor_us /{print $2}' | median)
# The requests of one check: the first round's list.
mapfile -t urls < <(printf '%s\n' "$output" | awk -v origin="$origin" '/^request /{print origin $2; seen = 1; next} seen {exit}')
if [ -z "$check_us" ] || [ -z "$wininet_us" ] || [ "${#urls[@]}" -eq 0 ]; then
  echo "bench-check: no measurement" >&2
  printf '%s\n' "$output" >&2
  exit 1
fi

# The sum of curl's own time for each transfer of one run, in microseconds.
curl_run() {  # extra curl options
  local args=()
  for url in "${urls[@]}"; do args+=(-o /dev/null "$url"); done
  curl -s "$@" -w '%{time_total}\n' "${args[@]}" | awk '{s += $1} END {printf "%d\n", s * 1000000}'
}
curl_median() {
  for _ in $(seq "$runs"); do curl_run "$@"; done | median
}
fresh_us=$(curl_median -H 'Connection: close')
kept_us=$(curl_median)

echo "requests per check: ${#urls[@]} (${urls[*]#"$origin"})"
echo "norv.exe check (Wine), median of $runs:                    $(ms "$check_us")"
echo "WinInet floor, wininet_floor.exe (Wine), median of $runs:  $(ms "$wininet_us")"
echo "curl, a fresh connection per request, median of $runs:     $(ms "$fresh_us")"
echo "curl, one kept-alive connection, median of $runs:          $(ms "$kept_us")"
# In the order measured, so that a burst of other load shows on both.
echo "checks (us): $(printf '%s\n' "$output" | awk '/^check_us /{printf "%s ", $2}')"
echo "floor (us):  $(printf '%s\n' "$output" | awk '/^floor_us /{printf "%s ", $2}')"
awk -v a="$check_us" -v w="$wininet_us" -v b="$fresh_us" -v c="$kept_us" \
  'BEGIN {printf "ratio norv/WinInet floor: %.2f, norv/fresh curl: %.2f, norv/kept-alive curl: %.2f\n", a / w, a / b, a / c}'
