#!/usr/bin/env bash
# nginx serving the published site over TLS against plain HTTP, on 127.0.0.1,
# one store made from the bundled snapshot: wrk against the status file, the
# LOTO6 result page and the Numbers3 history (the largest file, which a check
# fetches after a draw), one nginx worker, at 16 and 256 connections, kept
# alive and with a new connection per request (Connection: close, so every
# TLS request is a full handshake: wrk does not resume sessions).
# (norv.exe's check over TLS against HTTP is tools/bench-check.sh.)
# Runs inside tools/test-ca.sh, whose test CA signs the certificate.
# Run after building build/native (norv-service).
#   tools/bench-https.sh [WRK_SECONDS]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-5}

if [ -z "${NORVALE_TEST_CA+set}" ]; then
  exec "$root/tools/test-ca.sh" "$0" "$@"
fi
[ -n "$NORVALE_TEST_CA" ] || { echo "bench-https: no test CA" >&2; exit 1; }
. "$root/tools/service-common.sh"
state=$(mktemp -d)
cleanup() {
  "$root/tools/nginx-site" stop "$state/plain"
  "$root/tools/nginx-site" stop "$state/tls"
  rm -rf "$state"
}
trap cleanup EXIT
native=$root/build/native
seed_store "$native" "$state/store" || exit 1
plain_port=$(free_port)
tls_port=$(free_port)
publish() {  # site base
  "$(service_binary "$native")" publish "$state/store" "$1" --base "$2" >/dev/null 2>&1
}
publish "$state/site-plain" "http://127.0.0.1:$plain_port/" || exit 1
publish "$state/site-tls" "https://localhost:$tls_port/" || exit 1
cert=$NORVALE_TEST_CA/good

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
(cd "$state/site-plain/svc1" && stat -Lc '%n %s' lot6.txt mini.txt num4.txt num3.txt)
