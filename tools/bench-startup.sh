#!/usr/bin/env bash
# Start-up time of norv.exe under Wine: from process start to a visible window
# with its first grid loaded, with four 9,999-record histories and with four
# empty ones. Run after building build/win (norv_probed and startup_probe).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}

measure() {
  local records=$1
  "$root/tools/with-wine-display.sh" bash -c '
    set -euo pipefail
    records='"$records"' runs='"$runs"'
    appdata=$(wine cmd /c "echo %APPDATA%" 2>/dev/null | tr -d "\r")
    folder=$(winepath -u "$appdata")/Pellmark/T-NORV
    mkdir -p "$folder"
    python3 "'"$root"'/tools/bench/write_data_files.py" "$folder" "$records" 0
    cd "'"$root"'/build/win"
    for _ in $(seq "$runs"); do wine ./startup_probe.exe 2>/dev/null | tr -d "\r"; done
  '
}

report() {
  local label=$1; shift
  local sorted; sorted=$(printf "%s\n" "$@" | sort -n)
  local median; median=$(printf "%s\n" "$sorted" | awk "{a[NR]=\$1} END {print a[int((NR+1)/2)]}")
  echo "$label: median ${median} ms (runs: $(echo $sorted | tr '\n' ' '))"
}

mapfile -t full < <(measure 9999)
mapfile -t empty < <(measure 0)
report "four 9,999-record histories" "${full[@]}"
report "four empty histories" "${empty[@]}"
