#!/usr/bin/env bash
# Serving throughput of the published site: norv-service serve (nginx with
# serve's configuration) next to tools/nginx-site serving the same files, measured with wrk at 1, 16 and 256 kept-alive
# connections, on a small page (the LOTO6 result page) and on the largest
# file (the Numbers3 full history); then the time of one publish of the whole
# history. Run after building build/native (norv-service).
#   tools/bench-serve.sh [SECONDS_PER_RUN]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tools/service-common.sh"
seconds=${1:-5}
native=$root/build/native
service=$(service_binary "$native")
build_service "$native"
work=$(mktemp -d)
serve_pid=""
cleanup() {
  "$root/tools/nginx-site" stop "$work/nginx" >/dev/null 2>&1 || true
  [ -n "$serve_pid" ] && kill "$serve_pid" 2>/dev/null && wait "$serve_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

seed_store "$native" "$work/store"
nginx_port=$(free_port)
"$service" publish "$work/store" "$work/site" --base "http://127.0.0.1:$nginx_port/" >/dev/null 2>&1
"$root/tools/nginx-site" start "$work/site" "$nginx_port" "$work/nginx"
"$service" serve "$work/store" --port 0 --port-file "$work/serve.port" </dev/null >"$work/serve.log" 2>&1 &
serve_pid=$!
for _ in $(seq 100); do [ -s "$work/serve.port" ] && break; sleep 0.1; done
serve_port=$(cat "$work/serve.port")

rate() {  # port path connections
  local threads=$(( $3 < 2 ? 1 : 2 ))
  wrk -t "$threads" -c "$3" -d "${seconds}s" "http://127.0.0.1:$1$2" | awk '/^Requests\/sec:/ {printf "%d", $2}'
}

echo "requests per second, ${seconds} s per run, $(nproc) processors (wrk and both servers share them)"
printf '%-44s %6s %12s %12s %8s\n' file connections nginx serve serve/nginx
for path in /bank/takarakuji/loto/loto6/index.html /svc1/num3.txt; do
  for connections in 1 16 256; do
    n=$(rate "$nginx_port" "$path" "$connections")
    s=$(rate "$serve_port" "$path" "$connections")
    printf '%-44s %6d %12d %12d %8s\n' "$path" "$connections" "$n" "$s" "$(awk -v a="$s" -v b="$n" 'BEGIN {printf "%.2f", a / b}')"
  done
done

times=()
for _ in $(seq 10); do
  start=$(date +%s%N)
  "$service" publish "$work/store" "$work/site" --base "http://127.0.0.1:$nginx_port/" >/dev/null 2>&1
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000 )))
done
publish_us=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
echo "publish of the whole history (LOTO6 2085, MiniLOTO 1353, Numbers 7054 draws), median of 10: $(awk -v us="$publish_us" 'BEGIN {printf "%.1f ms", us / 1000}')"
