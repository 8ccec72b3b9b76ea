#!/usr/bin/env bash
# ParseResultPage against BeautifulSoup (lxml) on the same result page bytes,
# taking the same cells of draw 541 (the page's oldest: the longest search).
# Builds norv_bench in build/release (Release) if needed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/release
# Debian's own interpreter, which python3-bs4 and python3-lxml install into.
python=${NORVALE_PYTHON:-/usr/bin/python3}
if [ ! -x "$build/norv_bench" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -Wno-dev >/dev/null
  cmake --build "$build" -j2 --target norv_bench >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
NORVALE_BENCH_PAGE=$work/page.html "$build/norv_bench" --benchmark_filter='^BM_ParseLoto6ResultPage$' \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_format=json >"$work/native.json"
native_ns=$(python3 -c '
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
print([r for r in runs if r.get("aggregate_name") == "median"][0]["real_time"])' "$work/native.json")
mapfile -t python_out < <("$python" "$root/tools/bench/parse_bs4.py" "$work/page.html" 541 "${1:-5}")
expected="0541051218273341080000000000012345600004567000098000""1000"
[ "${python_out[0]}" = "$expected" ] || { echo "BeautifulSoup took other cells: ${python_out[0]}" >&2; exit 1; }
python3 - "$native_ns" "${python_out[1]}" "$(stat -c %s "$work/page.html")" <<'PY'
import sys
native_ns, python_s, size = float(sys.argv[1]), float(sys.argv[2]), int(sys.argv[3])
print(f"page: {size} bytes, draw 541 of five")
print(f"ParseResultPage:            {native_ns / 1000:10.1f} us per page")
print(f"BeautifulSoup (lxml):       {python_s * 1e6:10.1f} us per page")
print(f"ratio (BeautifulSoup / ParseResultPage): {python_s * 1e9 / native_ns:.1f}")
PY
