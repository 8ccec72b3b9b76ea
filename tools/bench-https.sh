#!/usr/bin/env bash
# The published site over TLS against plain HTTP, under nginx on 127.0.0.1,
# one store made from the bundled snapshot:
#   1. a check that finds nothing new: norv.exe under Wine against plain
#      HTTP, TLS, and TLS with no kept-alive connections (nginx's
#      keepalive_timeout 0: a connection, so a handshake, per request), and
#      a minimal WinInet client making the same
#      requests in the same order (tests/win/helpers/tls_check_bench.cpp);
#      from nginx's log, the connections used and whether TLS sessions were
#      resumed ($ssl_session_reused);
#   2. wrk against the status file, the LOTO6 result page and the Numbers3
#      history (the largest file, which a check fetches after a draw), one nginx
#      worker, at 16 and 256 connections, kept alive and with a new
#      connection per request (Connection: close, so every TLS request is a
#      full handshake: wrk does not resume sessions).
# Runs inside tools/with-wine-display.sh, whose test CA signs the certificate.
# Run after building build/native (norv-service) and build/win (norv_probed,
# tls_check_bench).
#   tools/bench-https.sh [RUNS] [WRK_SECONDS]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10}
seconds=${2:-5}

if [ -z "${NORVALE_TEST_CA+set}" ]; then
  NORVALE_BUILD=${NORVALE_BUILD:-$root/build/bench-https} exec "$root/tools/with-wine-display.sh" "$0" "$@"
fi
[ -n "$NORVALE_TEST_CA" ] || { echo "bench-https: no test CA" >&2; exit 1; }
. "$root/tools/service-common.sh"
state=$(mktemp -d)
cleanup() {
  "$root/tools/nginx-site" stop "$state/plain"
  "$root/tools/nginx-site" stop "$state/tls"
  "$root/tools/nginx-site" stop "$state/fresh"
  rm -rf "$state"
}
trap cleanup EXIT
native=$root/build/native
seed_store "$native" "$state/store" || exit 1
plain_port=$(free_port)
tls_port=$(free_port)
fresh_port=$(free_port)
publish() {  # site base
  "$(service_binary "$native")" publish "$state/store" "$1" --base "$2" >/dev/null 2>&1
}
publish "$state/site-plain" "http://127.0.0.1:$plain_port/" || exit 1
publish "$state/site-tls" "https://localhost:$tls_port/" || exit 1
publish "$state/site-fresh" "https://localhost:$fresh_port/" || exit 1
cert=$NORVALE_TEST_CA/good

# nginx-site's configuration, with one worker and, for the Wine part, an
# access log that says whether each TLS session was resumed.
start() {  # name site port keepalive [cert key]
  local name=$1 site=$2 port=$3 keepalive=$4
  shift 4
  "$root/tools/nginx-site" start "$site" "$port" "$state/$name" "$@" || exit 1
  sed -i -e 's/^worker_processes .*/worker_processes 1;/' -e "s/^  sendfile on;/  sendfile on; keepalive_timeout $keepalive;/" \
    -e "s#access_log off;#log_format bench '\$connection \"\$request\" [\$http_pragma|\$http_cache_control|\$http_connection] \$ssl_session_reused'; access_log $state/$name.log bench;#" \
    "$state/$name/nginx.conf"
  nginx -p "$state/$name" -c "$state/$name/nginx.conf" -s reload 2>/dev/null
  sleep 1
}
start plain "$state/site-plain" "$plain_port" 75s
start tls "$state/site-tls" "$tls_port" 75s "$cert.crt" "$cert.key"
start fresh "$state/site-fresh" "$fresh_port" 0 "$cert.crt" "$cert.key"

output=$(cd "$root/build/win" && wine ./tls_check_bench.exe "$runs" "Z:$state/plain.log" \
  "http=http://127.0.0.1:$plain_port" "https=https://localhost:$tls_port" \
  "https-fresh=https://localhost:$fresh_port" 2>/dev/null | tr -d '\r')

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
pick() { printf '%s\n' "$output" | awk -v k="$1" -v s="$2" '$1 == k && $2 == s {print $3}' | median; }

requests=$(printf '%s\n' "$output" | grep -c '^request ')
if [ -z "$(pick check_us https-fresh)" ] || [ -z "$(pick client_us https-fresh)" ] || [ "$requests" -eq 0 ]; then
  echo "bench-https: no measurement" >&2
  printf '%s\n' "$output" >&2
  exit 1
fi
echo "requests per check: $requests ($(printf '%s\n' "$output" | awk '/^request /{printf "%s ", $2}'))"
echo "medians of $runs          norv.exe check   minimal client   norv/client   check/HTTP   client/HTTP"
for name in http https https-fresh; do
  awk -v n="$name" -v c="$(pick check_us "$name")" -v m="$(pick client_us "$name")" \
    -v c0="$(pick check_us http)" -v m0="$(pick client_us http)" \
    'BEGIN {printf "%-12s %12.1f ms %13.1f ms %12.2f %12.2f %12.2f\n", n, c/1000, m/1000, c/m, c/c0, m/m0}'
done
echo "TLS cost per check, kept alive: $(awk -v a="$(pick check_us http)" -v b="$(pick check_us https)" 'BEGIN {printf "%.1f ms", (b-a)/1000}')," \
  "a connection per request: $(awk -v a="$(pick check_us http)" -v b="$(pick check_us https-fresh)" 'BEGIN {printf "%.1f ms", (b-a)/1000}')"
for name in plain tls fresh; do
  echo "$name: $(grep -c '"GET ' "$state/$name.log") requests over $(awk '{print $1}' "$state/$name.log" | sort -u | wc -l)" \
    "connections, $(grep -c '] r$' "$state/$name.log") of them on a resumed TLS session"
done
echo "request headers [Pragma|Cache-Control|Connection] as nginx saw them:"
grep -ho '\[[^]]*\]' "$state/plain.log" "$state/tls.log" "$state/fresh.log" | sort | uniq -c

# wrk: one nginx worker, logs off.
"$root/tools/nginx-site" start "$state/site-plain" "$plain_port" "$state/plain" >/dev/null || exit 1
"$root/tools/nginx-site" start "$state/site-tls" "$tls_port" "$state/tls" "$cert.crt" "$cert.key" >/dev/null || exit 1
for name in plain tls; do
  sed -i 's/^worker_processes .*/worker_processes 1;/' "$state/$name/nginx.conf"
  nginx -p "$state/$name" -c "$state/$name/nginx.conf" -s reload 2>/dev/null
done
sleep 1
close=$state/close.lua
echo 'wrk.headers["Connection"] = "close"' >"$close"
page=$(cd "$state/site-plain/" && find . -path '*loto6/index.html' | head -n 1 | sed 's|^\.||')
rate() {  # url connections [lua]
  local lua=()
  [ $# -eq 3 ] && lua=(-s "$3")
  wrk -t2 -c "$2" -d "${seconds}s" "${lua[@]}" "$1" 2>/dev/null | awk '/^Requests\/sec/ {printf "%d", $2}'
}
echo
echo "wrk, requests per second, one nginx worker, ${seconds} s a run"
echo "file         conns  kept-alive: HTTP   HTTPS  | new connection: HTTP   HTTPS"
for file in /svc1/status.txt "$page" /svc1/num3.txt; do
  for conns in 16 256; do
    ph=$(rate "http://127.0.0.1:$plain_port$file" "$conns")
    th=$(rate "https://localhost:$tls_port$file" "$conns")
    pc=$(rate "http://127.0.0.1:$plain_port$file" "$conns" "$close")
    tc=$(rate "https://localhost:$tls_port$file" "$conns" "$close")
    printf '%-12s %5d  %16s %7s  | %20s %7s\n' "$(basename "$(dirname "$file")")/$(basename "$file")" "$conns" "$ph" "$th" "$pc" "$tc"
  done
done
echo
echo "bytes: status file $(stat -c %s "$state/site-plain/svc1/status.txt"), LOTO6 result page $(stat -Lc %s "$state/site-plain$page")"
(cd "$state/site-plain/" && for p in $(printf '%s\n' "$output" | awk '/^request /{print $2}' | sed 's/?.*//'); do stat -Lc '%s' ".$p"; done) |
  awk '{s += $1} END {printf "bytes of the bodies of one check that finds nothing new: %d\n", s}'
(cd "$state/site-plain/svc1" && stat -Lc '%n %s' lot6.txt mini.txt num4.txt num3.txt)
