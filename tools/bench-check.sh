#!/usr/bin/env bash
# Duration of a check that finds nothing new: norv.exe under Wine against the
# local draw service, with every data file complete, next to curl (native)
# fetching the same addresses in the same order. Run after building
# build/native (norv-drawservice) and build/win (norv_probed, check_bench).
#   tools/bench-check.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10}
state=$(mktemp -d)
trap '"$root/tools/drawservice-ctl" stop "$state" >/dev/null; rm -rf "$state"' EXIT
"$root/tools/drawservice-ctl" start "$state" "$root/build/native" >/dev/null
port=$(cat "$state/drawservice.port")

output=$("$root/tools/with-wine-display.sh" bash -c '
  cd "'"$root"'/build/win"
  NORVALE_DRAWSERVICE_PORT_FILE="Z:'"$state"'/drawservice.port" wine ./check_bench.exe '"$runs"' 2>/dev/null
' | tr -d '\r')

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

check_us=$(printf '%s\n' "$output" | awk '/^check_us /{print $2}' | median)
mapfile -t urls < <(printf '%s\n' "$output" | awk -v origin="http://127.0.0.1:$port" '/^request /{print origin $2}')
if [ -z "$check_us" ] || [ "${#urls[@]}" -eq 0 ]; then
  echo "bench-check: no measurement" >&2
  printf '%s\n' "$output" >&2
  exit 1
fi

# One curl process per check, as norv runs one check: the same requests in order.
curl_args=()
for url in "${urls[@]}"; do curl_args+=(-o /dev/null "$url"); done
curl_times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  curl -s "${curl_args[@]}"
  end=$(date +%s%N)
  curl_times+=($(( (end - start) / 1000 )))
done
curl_us=$(printf '%s\n' "${curl_times[@]}" | median)

echo "requests per check: ${#urls[@]} (${urls[*]#http://127.0.0.1:$port})"
echo "norv.exe check (Wine), median of $runs: $((check_us / 1000)).$(printf '%03d' $((check_us % 1000))) ms"
echo "curl, same sequence, median of $runs:   $((curl_us / 1000)).$(printf '%03d' $((curl_us % 1000))) ms"
awk -v a="$check_us" -v b="$curl_us" 'BEGIN {printf "ratio norv/curl: %.2f\n", a / b}'
