#!/usr/bin/env bash
# Runs every fuzz target built in build/fuzz for SECONDS each, starting from a
# scratch copy of its seed corpus (so the repository stays untouched) and with
# its marker dictionary. Exits non-zero when any target crashes.
#   tools/fuzz.sh SECONDS
# Build first:
#   cmake -S . -B build/fuzz -DNORVALE_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
#   cmake --build build/fuzz -j2
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: tools/fuzz.sh SECONDS}
build="$root/build/fuzz"
scratch="$build/fuzz-work"

shopt -s nullglob
targets=()
for src in "$root"/tests/fuzz/*_fuzz.cpp; do
  name=$(basename "$src" .cpp)
  [ -x "$build/$name" ] && targets+=("$name")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets built in $build" >&2
  exit 1
fi

status=0
for name in "${targets[@]}"; do
  work="$scratch/$name"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/artifacts"
  [ -d "$root/tests/fuzz/corpus/$name" ] && cp -r "$root/tests/fuzz/corpus/$name/." "$work/corpus/"
  dict=()
  [ -f "$root/tests/fuzz/$name.dict" ] && dict=(-dict="$root/tests/fuzz/$name.dict")
  echo "fuzz: $name for ${seconds}s"
  if ! "$build/$name" "$work/corpus" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=2048 -artifact_prefix="$work/artifacts/" -print_final_stats=0 >"$work/log" 2>&1; then
    echo "fuzz: $name FAILED; input in $work/artifacts, log in $work/log" >&2
    tail -n 40 "$work/log" >&2
    status=1
  fi
done
exit $status
