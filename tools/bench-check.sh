#!/usr/bin/env bash
# Duration of a check that finds nothing new against the platform's floor,
# over plain HTTP and over TLS, in one run: one published site (a store made
# from the bundled snapshot) served by nginx with tools/nginx-site's
# configuration on 127.0.0.1 three ways:
#   http         plain HTTP;
#   https        TLS (certificate from the run's test CA, tools/test-ca.sh);
#   https-fresh  TLS with keepalive_timeout 0: a connection, so a handshake,
#                per request.
# At each site tests/win/helpers/check_bench.exe alternates a check of
# norv.exe's test build (norv_probed.exe under Wine, every data file complete)
# with a run of the floor client (the same requests in the same order, the
# program's WinInet options and flags, an Internet handle per request, one
# thread, nothing else), ROUNDS rounds a turn, TURNS turns per site, the sites
# taking turns. Reported: medians, the ratio of the medians, the requests of
# each side as nginx logged them (they must be the same, in the same order,
# with the same request headers), the connections used and whether TLS
# sessions were resumed ($ssl_session_reused), and two curl baselines on the
# same requests (a fresh connection per request, and one kept-alive
# connection; curl's own time, its process start left out).
# Run after building build/native (norv-service) and build/win (norv_probed,
# check_bench).
#   tools/bench-check.sh [ROUNDS] [TURNS]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-10}
turns=${2:-3}

if [ -z "${NORVALE_TEST_CA+set}" ]; then
  NORVALE_BUILD=${NORVALE_BUILD:-$root/build/bench-check} exec "$root/tools/with-wine-display.sh" "$0" "$@"
fi
[ -n "$NORVALE_TEST_CA" ] || { echo "bench-check: no test CA" >&2; exit 1; }
. "$root/tools/service-common.sh"
state=$(mktemp -d)
names=(http https https-fresh)
cleanup() {
  for name in "${names[@]}"; do "$root/tools/nginx-site" stop "$state/$name"; done
  rm -rf "$state"
}
trap cleanup EXIT
native=$root/build/native
cert=$NORVALE_TEST_CA/good
seed_store "$native" "$state/store" || exit 1

declare -A origin
# nginx-site's configuration with one worker (so one core, as a small origin
# has) and an access log that names the client and the TLS session's reuse.
start() {  # name scheme keepalive [cert key]
  local name=$1 scheme=$2 keepalive=$3 port host=127.0.0.1
  shift 3
  port=$(free_port)
  [ "$scheme" = https ] && host=localhost  # Wine matches the host name, not an IP address
  origin[$name]="$scheme://$host:$port"
  "$(service_binary "$native")" publish "$state/store" "$state/site-$name" --base "${origin[$name]}/" >/dev/null 2>&1 || exit 1
  "$root/tools/nginx-site" start "$state/site-$name" "$port" "$state/$name" "$@" >/dev/null || exit 1
  sed -i -e 's/^worker_processes .*/worker_processes 1;/' -e "s/^  keepalive_timeout .*/  keepalive_timeout $keepalive;/" \
    -e "s#access_log off;#log_format bench '\$connection \"\$request\" [\$http_pragma|\$http_cache_control|\$http_connection] \$ssl_session_reused \"\$http_user_agent\"'; access_log $state/$name.log bench;#" \
    "$state/$name/nginx.conf"
  nginx -p "$state/$name" -c "$state/$name/nginx.conf" -s reload 2>"$state/reload" ||
    { echo "bench-check: nginx refused the bench's configuration: $(cat "$state/reload")" >&2; exit 1; }
  for _ in $(seq 50); do [ -e "$state/$name.log" ] && break; sleep 0.1; done
  [ -e "$state/$name.log" ] || { echo "bench-check: nginx keeps no access log at $name" >&2; exit 1; }
}
start http http 75s
start https https 75s "$cert.crt" "$cert.key"
start https-fresh https 0 "$cert.crt" "$cert.key"

sites=()
for name in "${names[@]}"; do sites+=("$name=${origin[$name]}=Z:$state/$name.log"); done
output=$(cd "$root/build/win" && wine ./check_bench.exe "$rounds" "$turns" "${sites[@]}" 2>"$state/stderr" | tr -d '\r')
if ! printf '%s\n' "$output" | grep -q '^request '; then
  echo "bench-check: no measurement" >&2
  cat "$state/stderr" >&2
  printf '%s\n' "$output" >&2
  exit 1
fi

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
pick() { printf '%s\n' "$output" | awk -v k="$1" -v s="$2" '$1 == k && $2 == s {print $3}' | median; }
paths() { printf '%s\n' "$output" | awk -v s="$1" '$1 == "request" && $2 == s {print $3}'; }
# The last N requests nginx logged from one client (by its agent), with their headers.
logged() {  # name agent count
  grep -F "\"$2\"" "$state/$1.log" | tail -n "$3" | sed -E 's/^[0-9]+ "GET ([^ ]*) [^"]*" (\[[^]]*\]).*/\1 \2/'
}

mapfile -t check_paths < <(paths http)
count=${#check_paths[@]}
echo "requests per check: $count (${check_paths[*]})"
for name in "${names[@]}"; do
  [ "$(paths "$name")" = "$(paths http)" ] || echo "bench-check: $name's check made other requests: $(paths "$name" | tr '\n' ' ')"
  if [ "$(logged "$name" norv_probed "$count")" != "$(logged "$name" check_bench_floor "$count")" ]; then
    echo "bench-check: at $name the floor's last requests differ from the check's:"
    diff <(logged "$name" norv_probed "$count") <(logged "$name" check_bench_floor "$count")
  fi
done
echo "request headers [Pragma|Cache-Control|Connection] as nginx logged them, per client:"
cat "$state"/*.log | sed -E 's/^[0-9]+ "[^"]*" (\[[^]]*\]) [^ ]* (".*")$/\1 \2/' | sort | uniq -c

echo
echo "$rounds rounds x $turns turns, medians:"
echo "site         norv.exe check   floor client   check/floor   check/HTTP   floor/HTTP"
for name in "${names[@]}"; do
  awk -v n="$name" -v c="$(pick check_us "$name")" -v m="$(pick floor_us "$name")" \
    -v c0="$(pick check_us http)" -v m0="$(pick floor_us http)" \
    'BEGIN {printf "%-12s %11.1f ms %11.1f ms %13.2f %12.2f %12.2f\n", n, c/1000, m/1000, c/m, c/c0, m/m0}'
done
# Each round's ratio too: a burst of other load on one side shows as an outlier.
for name in "${names[@]}"; do
  printf '%s\n' "$output" | awk -v s="$name" '$2 == s && $1 == "check_us" {c = $3} $2 == s && $1 == "floor_us" {print c / $3}' |
    sort -n | awk -v s="$name" '{a[NR]=$1} END {printf "%s: per-round check/floor quartiles %.2f %.2f %.2f\n", s, a[int(NR/4)+1], a[int((NR+1)/2)], a[int(3*NR/4)+1]}'
done
echo "TLS cost per check (medians, check): kept alive $(awk -v a="$(pick check_us http)" -v b="$(pick check_us https)" 'BEGIN {printf "%.1f ms", (b-a)/1000}')," \
  "a connection per request $(awk -v a="$(pick check_us http)" -v b="$(pick check_us https-fresh)" 'BEGIN {printf "%.1f ms", (b-a)/1000}')"
for name in "${names[@]}"; do
  for agent in norv_probed check_bench_floor; do
    lines=$(grep -F "\"$agent\"" "$state/$name.log")
    echo "$name, $agent: $(printf '%s\n' "$lines" | grep -c '"GET ') requests over" \
      "$(printf '%s\n' "$lines" | awk '{print $1}' | sort -u | wc -l) connections, $(printf '%s\n' "$lines" | grep -c '\] r "') on a resumed TLS session"
  done
done

# curl on the same requests; the sum of its own time per transfer, in microseconds.
curl_run() {  # origin, extra curl options
  local base=$1 args=()
  shift
  for path in "${check_paths[@]}"; do args+=(-o /dev/null "$base$path"); done
  curl -s --cacert "$NORVALE_TEST_CA/ca.crt" "$@" -w '%{time_total}\n' "${args[@]}" | awk '{s += $1} END {printf "%d\n", s * 1000000}'
}
curl_median() {
  for _ in $(seq "$rounds"); do curl_run "$@"; done | median
}
echo
for name in http https; do
  awk -v n="$name" -v f="$(curl_median "${origin[$name]}" -H 'Connection: close')" -v k="$(curl_median "${origin[$name]}")" \
    -v c="$(pick check_us "$name")" \
    'BEGIN {printf "curl over %s, medians of %d: a fresh connection per request %.1f ms, one kept-alive connection %.1f ms; check/fresh curl %.1f\n", n, '"$rounds"', f/1000, k/1000, c/f}'
done
echo
echo "in the order measured (us):"
for name in "${names[@]}"; do
  echo "$name checks: $(printf '%s\n' "$output" | awk -v s="$name" '$1 == "check_us" && $2 == s {printf "%s ", $3}')"
  echo "$name floor:  $(printf '%s\n' "$output" | awk -v s="$name" '$1 == "floor_us" && $2 == s {printf "%s ", $3}')"
done
(cd "$state/site-http" && for path in "${check_paths[@]}"; do stat -Lc '%s' ".${path%%\?*}"; done) |
  awk '{s += $1} END {printf "bytes of the bodies of one check that finds nothing new: %d\n", s}'
