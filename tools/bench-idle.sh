#!/usr/bin/env bash
# CPU time and private memory of a resident, idle norv.exe under Wine over
# five minutes (or $1 seconds), with four 9,999-draw histories and with four
# empty ones, measured one after the other in one run. No check runs: the
# schedule is off and the service addresses point at a closed local port.
# Reads the Wine process's /proc entry. Run after building build/win.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
duration=${1:-300}
settle=${NORVALE_IDLE_SETTLE:-20}

measure() {
  local records=$1
  NORVALE_BUILD=$root/build/bench-idle-$records "$root/tools/with-wine-display.sh" bash -c '
    set -euo pipefail
    records='"$records"' duration='"$duration"' settle='"$settle"'
    key="HKCU\\Software\\Pellmark\\T-NORV"
    for pair in win=0 mod=1 kid=0 in1=0 in2=0; do
      wine reg add "$key" /v "${pair%%=*}" /t REG_SZ /d "${pair#*=}" /f >/dev/null 2>&1
    done
    appdata=$(wine cmd /c "echo %APPDATA%" 2>/dev/null | tr -d "\r")
    folder=$(winepath -u "$appdata")/Pellmark/T-NORV
    mkdir -p "$folder"
    python3 "'"$root"'/tools/bench/write_data_files.py" "$folder" "$records" 1
    export NORVALE_DIRECTORY_1="http://127.0.0.1:9/d?SFT=0" NORVALE_DIRECTORY_2="http://127.0.0.1:9/d?SFT=0"
    export NORVALE_DOWNLOAD_1="http://127.0.0.1:9/" NORVALE_DOWNLOAD_2="http://127.0.0.1:9/"
    cd "'"$root"'/build/win"
    wine ./norv.exe </dev/null >/dev/null 2>&1 &
    # The Unix process of this prefix'"'"'s norv.exe, not another developer'"'"'s.
    pid=""
    for _ in $(seq 100); do
      for p in $(pgrep -f "norv\.exe" || true); do
        first=$({ tr "\0" "\n" </proc/$p/cmdline | head -n 1; } 2>/dev/null || true)
        case $first in *norv.exe) ;; *) continue ;; esac
        if { tr "\0" "\n" </proc/$p/environ | grep -qx "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null; then pid=$p; fi
      done
      [ -n "$pid" ] && break
      sleep 0.2
    done
    [ -n "$pid" ] || { echo "norv.exe did not start" >&2; exit 1; }
    sleep "$settle"
    ticks() { awk "{print \$14 + \$15}" /proc/$pid/stat; }
    private_kb() { awk "/^Private_(Clean|Dirty):/ {s += \$2} END {print s}" /proc/$pid/smaps_rollup; }
    t0=$(ticks); m0=$(private_kb)
    sleep "$duration"
    t1=$(ticks); m1=$(private_kb)
    hz=$(getconf CLK_TCK)
    echo "$records $(( (t1 - t0) * 1000 / hz )) $m0 $m1"
    kill "$pid" 2>/dev/null || true
  '
}

full=$(measure 9999 | tail -n 1)
empty=$(measure 0 | tail -n 1)
python3 - "$duration" "$full" "$empty" <<'PY'
import sys
duration = int(sys.argv[1])
rows = {}
for line in sys.argv[2:]:
    records, cpu_ms, m0, m1 = map(int, line.split())
    rows[records] = (cpu_ms, m0, m1)
    label = "four 9,999-draw histories" if records else "four empty histories"
    print(f"{label:28s} CPU {cpu_ms:6d} ms in {duration} s idle, private memory {m0 / 1024:.1f} -> {m1 / 1024:.1f} MiB")
(cf, _, mf), (ce, _, me) = rows[9999], rows[0]
cpu = f"{cf / ce:.2f}" if ce else ("1 (none in either)" if not cf else "n/a (none with empty histories)")
print(f"ratio full/empty: CPU {cpu}, private memory {mf / me:.2f}")
PY
