#!/usr/bin/env bash
# Wine prefixes of their own for the installer tests, which install, upgrade
# and uninstall for real and so must not share a prefix with any other test.
#
#   fresh-prefix.sh template DIR
#       makes a fresh prefix in DIR (wineboot, about 20 s), once per run.
#   fresh-prefix.sh run TEMPLATE DIR PROGRAM [ARGUMENT...]
#       copies TEMPLATE to DIR, runs the Windows PROGRAM there under a
#       wineserver of its own, ends that wineserver and removes DIR again.
#       Fails when the program fails, or when it is a test program that ran
#       no test (a filter that matches nothing passes in GoogleTest).
#   fresh-prefix.sh copy TEMPLATE DIR
#       only copies TEMPLATE to DIR (tools/with-wine-display.sh's lanes).
#
# The copy takes a fraction of a second because the big folders of Wine's own
# DLLs are hard links into the template: nothing writes to them. Everything
# else (registry, user profile, program folders) is copied.
#
# The display comes from the caller (tools/with-wine-display.sh).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tools=$here/../../../tools

use_prefix() {
  export WINEPREFIX=$1
  # Wine's menu builder would put the setup program's shortcut on this
  # machine's own desktop menus.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  . "$tools/wine-env"
}

make_template() {
  local dir=$1
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  use_prefix "$dir"
  wineboot --init >/dev/null 2>&1
  wineserver -w
  [ -f "$dir/system.reg" ] || { echo "fresh-prefix: wineboot made no prefix in $dir" >&2; return 1; }
}

copy_template() {
  local template=$1 dir=$2
  rm -rf "$dir"
  mkdir -p "$dir"
  local shared=(drive_c/windows/system32 drive_c/windows/syswow64 drive_c/windows/winsxs)
  local exclude=()
  for s in "${shared[@]}"; do exclude+=(--exclude "./$s"); done
  (cd "$template" && tar cf - "${exclude[@]}" .) | (cd "$dir" && tar xf -) || return 1
  for s in "${shared[@]}"; do
    [ -d "$template/$s" ] && cp -al "$template/$s" "$dir/$s"
  done
  return 0
}

run_in_copy() {
  local template=$1 dir=$2; shift 2
  [ -f "$template/system.reg" ] || { echo "fresh-prefix: no template prefix in $template" >&2; return 1; }
  copy_template "$template" "$dir" || { echo "fresh-prefix: cannot copy $template" >&2; return 1; }
  use_prefix "$dir"
  # Wine's own background processes start detached from the output pipe:
  # started by the test, they would hold ctest's pipe open after it ends.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1
  local log
  log=$(mktemp)
  "$tools/wine-exec" "$@" 2>&1 | tee "$log"
  local code=${PIPESTATUS[0]}
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  if [ "$code" -eq 0 ] && grep -q '^\[==========\] Running 0 tests' "$log"; then
    echo "fresh-prefix: the filter selected no test" >&2
    code=1
  fi
  rm -f "$log"
  rm -rf "$dir"
  return "$code"
}

case "${1:-}" in
  template) make_template "$2" ;;
  run) shift; run_in_copy "$@" ;;
  copy) copy_template "$2" "$3" ;;
  *) echo "usage: $0 template DIR | run TEMPLATE DIR PROGRAM [ARGUMENT...] | copy TEMPLATE DIR" >&2; exit 2 ;;
esac
