# Sourced by the scripts that run the maker's service beside Norvale.

service_binary() { echo "$1/service/norv-service"; }
# The test service: the store's site with fault controls, for the tests only.
test_service_binary() { echo "$1/tests/test_service/norv-test-service"; }

build_service() {  # native build folder
  local native=$1 root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  [ -x "$(service_binary "$native")" ] && [ -x "$(test_service_binary "$native")" ] && return 0
  echo "building norv-service and norv-test-service in $native" >&2
  [ -f "$native/CMakeCache.txt" ] || cmake -S "$root" -B "$native" -Wno-dev >/dev/null || return 1
  cmake --build "$native" -j2 --target norv-service norv-test-service >/dev/null ||
    { echo "cannot build norv-service" >&2; return 1; }
}

# A store holding the bundled snapshot, made afresh.
seed_store() {  # native build folder, store folder
  rm -rf "$2" && "$(service_binary "$1")" init "$2" >/dev/null
}

# A loopback port nothing listens on right now.
free_port() {
  python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

wait_for_port() {  # port file, pid file
  for _ in $(seq 100); do
    [ -s "$1" ] && return 0
    kill -0 "$(cat "$2")" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

stop_pid() {  # pid file
  [ -f "$1" ] || return 0
  local pid
  pid=$(cat "$1")
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$1"
}
