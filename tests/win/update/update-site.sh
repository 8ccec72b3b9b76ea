#!/usr/bin/env bash
# The update catalogue's site on 127.0.0.1: one folder per case, each with the
# two download folders and what its manifest names, served by nginx, and a
# stand-in host for the endless and the stalling download.
#
#   update-site.sh start STATE NATIVE_BUILD WIN_BUILD RELEASE
#   update-site.sh stop STATE
#
# The good case is published by norv-service publish itself; the others are
# what a broken-into server or a bad network could serve. Manifests are signed
# with the build's test key (WIN_BUILD/../release-test-key.pem), which the
# liveup.exe of that build trusts. STATE/base.txt holds the site's address.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tools=$here/../../../tools

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }

case_folder() {  # name manifest-text
  mkdir -p "$site/$1/dlf1" "$site/$1/dlf2" "$site/$1/releases"
  printf '%s' "$2" > "$site/$1/dlf1/norvale.release"
  printf '%s' "$2" > "$site/$1/dlf2/norvale.release"
}

sign() {  # setup release url [options...]
  local setup=$1 release=$2 url=$3; shift 3
  "$service" sign-release "$setup" --release "$release" --url "$url" --key "$key" "$@" 2>/dev/null
  echo x  # keeps the trailing line feed through $(...)
}

start() {
  local state=$1 native=$2 win=$3
  # RELEASE is the installed one (51); the site offers the next one.
  local now next older
  now=$(printf %04d "$4"); next=$(printf %04d $(($4 + 1))); older=$(printf %04d $(($4 - 1)))
  service=$native/service/norv-service
  key=$(dirname "$win")/release-test-key.pem
  local setup=$win/update-test/norvale-setup-next.exe
  [ -x "$service" ] && [ -f "$key" ] && [ -f "$setup" ] || { echo "update-site: needs $service, $key and $setup" >&2; return 1; }
  stop "$state"
  rm -rf "$state"; mkdir -p "$state"
  site=$state/site; mkdir -p "$site"
  local port; port=$(free_port)
  local base=http://127.0.0.1:$port/
  python3 "$here/misbehaving_host.py" "$state/host.port" >/dev/null 2>&1 &
  echo $! > "$state/host.pid"
  for _ in $(seq 50); do [ -f "$state/host.port" ] && break; sleep 0.1; done
  local bad=http://127.0.0.1:$(cat "$state/host.port")/

  "$service" init "$state/store" >/dev/null 2>&1 || { echo "update-site: no store" >&2; return 1; }
  local good_url=${base}good/releases/norvale-setup-next.exe
  local m
  m=$(sign "$setup" norvale=$next "$good_url"); printf '%s' "${m%x}" > "$state/good.release"
  "$service" publish "$state/store" "$site/good" --base "${base}good/" --release-manifest "$state/good.release" \
    --release-file "$setup" >/dev/null 2>"$state/publish.log" || { cat "$state/publish.log" >&2; return 1; }

  local other=$state/other-key.pem
  "$service" keygen "$other" >/dev/null 2>&1
  m=$(key=$other sign "$setup" norvale=$next "$good_url"); case_folder other-key "${m%x}"
  m=$(sign "$setup" norvale=$next "$good_url"); m=${m%x}; case_folder forged "${m/release=$next/release=$(printf %04d $(($4 + 2)))}"
  m=$(sign "$setup" birch=$next "$good_url"); case_folder product-12 "${m%x}"
  m=$(sign "$setup" norvale=$now "$good_url"); case_folder same "${m%x}"
  m=$(sign "$setup" norvale=$older "$good_url"); case_folder rollback "${m%x}"
  m=$(sign "$setup" norvale=$next "$good_url" --signed 2020-01-01T00:00:00Z --expires 30); case_folder expired "${m%x}"
  m=$(sign "$setup" norvale=$next "${base}changed/releases/norvale-setup-next.exe"); case_folder changed "${m%x}"
  python3 -c 'import sys; b=bytearray(open(sys.argv[1],"rb").read()); b[len(b)//2]^=1; open(sys.argv[2],"wb").write(b)' \
    "$setup" "$site/changed/releases/norvale-setup-next.exe"
  m=$(sign "$setup" norvale=$next "${bad}endless"); case_folder endless "${m%x}"
  m=$(sign "$setup" norvale=$next "${bad}stall"); case_folder stall "${m%x}"
  m=$(sign "$setup" norvale=$next "http://localhost:$port/good/releases/norvale-setup-next.exe"); case_folder http "${m%x}"

  # nginx-site knows a site to answer by its status file.
  mkdir -p "$site/svc1" && cp "$site/good/svc1/status.txt" "$site/svc1/"
  "$tools/nginx-site" start "$site" "$port" "$state/nginx" || return 1
  echo "$base" > "$state/base.txt"
  echo "http://127.0.0.1:$(free_port)/" > "$state/dead.txt"
}

stop() {
  local state=$1
  "$tools/nginx-site" stop "$state/nginx" 2>/dev/null
  if [ -f "$state/host.pid" ]; then kill "$(cat "$state/host.pid")" 2>/dev/null; rm -f "$state/host.pid"; fi
  return 0
}

case "${1:-}" in
  start) start "$2" "$3" "$4" "$5" ;;
  stop) stop "$2" ;;
  *) echo "usage: $0 start STATE NATIVE_BUILD WIN_BUILD RELEASE | stop STATE" >&2; exit 2 ;;
esac
