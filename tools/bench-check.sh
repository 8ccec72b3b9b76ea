#!/usr/bin/env bash
# Duration of a check that finds nothing new: norv.exe under Wine against the
# test service (tools/service-ctl: norv-test-service, the real store), every data
# file complete; beside it two baselines on the same requests in the same
# order, timed by curl itself (its process start left out):
#   - curl with a fresh connection per request, as norv.exe makes them;
#   - the floor: all the requests over one kept-alive connection in one process.
# Run after building build/native (norv-test-service) and build/win (norv_probed, check_bench).
#   tools/bench-check.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10}
state=$(mktemp -d)
trap '"$root/tools/service-ctl" stop "$state" >/dev/null; rm -rf "$state"' EXIT
"$root/tools/service-ctl" start "$state" "$root/build/native" >/dev/null
port=$(cat "$state/service.port")

output=$("$root/tools/with-wine-display.sh" bash -c '
  cd "'"$root"'/build/win"
  NORVALE_LOCAL_SERVICES="Z:'"$state"'" wine ./check_bench.exe '"$runs"' 2>/dev/null
' | tr -d '\r')

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ms() { awk -v us="$1" 'BEGIN {printf "%.3f ms", us / 1000}'; }

check_us=$(printf '%s\n' "$output" | awk '/^check_us /{print $2}' | median)
mapfile -t urls < <(printf '%s\n' "$output" | awk -v origin="http://127.0.0.1:$port" '/^request /{print origin $2}')
if [ -z "$check_us" ] || [ "${#urls[@]}" -eq 0 ]; then
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
floor_us=$(curl_median)

echo "requests per check: ${#urls[@]} (${urls[*]#http://127.0.0.1:$port})"
echo "norv.exe check (Wine), median of $runs:                $(ms "$check_us")"
echo "curl, a fresh connection per request, median of $runs: $(ms "$fresh_us")"
echo "curl, one kept-alive connection (floor), median of $runs: $(ms "$floor_us")"
awk -v a="$check_us" -v b="$fresh_us" -v c="$floor_us" \
  'BEGIN {printf "ratio norv/fresh-curl: %.2f, norv/floor: %.2f\n", a / b, a / c}'
