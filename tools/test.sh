#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively, again under
# ASan+UBSan, the fuzz targets for a few seconds each, then the Windows program
# and its tests under Wine with an Xvfb display of their own.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

jobs=$(nproc)
status=0
# Each phase's time, from its step to the next, for the table at the end.
phase="" phase_started=$SECONDS timings=()
end_phase() {
  [ -n "$phase" ] && timings+=("$(printf '%6d s  %s' $((SECONDS - phase_started)) "$phase")")
  phase="" phase_started=$SECONDS
}
step() { end_phase; phase=$*; echo; echo "== $*"; }
fail() { echo "!! $*"; status=1; }

configure_and_build() {  # dir, then cmake options
  local dir=$1; shift
  cmake -S . -B "$dir" -Wno-dev "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j "$jobs" >"$dir.build.log" 2>&1 || { tail -n 60 "$dir.build.log"; return 1; }
}

step "packages (tools/setup.sh)"
"$root/tools/setup.sh"

mkdir -p build
step "native build and tests"
if configure_and_build build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo; then
  (cd build/native && ctest -j "$jobs" --output-on-failure) || fail "native tests"
else fail "native build"; fi

step "sanitizer build and tests (ASan+UBSan)"
if configure_and_build build/asan -DCMAKE_BUILD_TYPE=Debug -DNORVALE_SANITIZE=ON; then
  (cd build/asan && ASAN_OPTIONS=detect_leaks=1 ctest -j "$jobs" --output-on-failure) || fail "sanitizer tests"
else fail "sanitizer build"; fi

if compgen -G "tests/fuzz/*_fuzz.cpp" >/dev/null; then
  step "fuzz targets, ${NORVALE_FUZZ_SECONDS:=5} s each"
  if configure_and_build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNORVALE_FUZZ=ON \
       -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++; then
    "$root/tools/fuzz.sh" "$NORVALE_FUZZ_SECONDS" || fail "fuzzing"
  else fail "fuzz build"; fi
fi

step "Windows build"
if configure_and_build build/win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-posix.cmake"; then
  # About two minutes of days; README says how to run a long one. Its prefix,
  # display and service are its own (tools/soak.sh), so it runs beside the
  # Windows tests, and its output follows theirs.
  step "Windows tests under Wine, beside a ${NORVALE_SOAK_DAYS:=30}-day completeness soak"
  "$root/tools/soak.sh" "$NORVALE_SOAK_DAYS" 1 --no-hangs >build/soak.log 2>&1 &
  soak=$!
  # Screenshots of each tab with a long history land in build/win/screenshots.
  # Window timing under Wine and Xvfb is not a machine's; a failed test gets a
  # second attempt, and its first failure stays in the output above it.
  # Two at a time, each in a lane of its own (tools/wine-lane).
  NORVALE_SCREENSHOTS=1 NORVALE_WINE_LANES=2 "$root/tools/with-wine-display.sh" \
    bash -c 'cd build/win && ctest -j 2 --resource-spec-file ../../tools/wine-lanes.json \
               --output-on-failure --timeout 180 --repeat until-pass:2' \
    || fail "Windows tests"
  wait "$soak"; soak_status=$?
  echo; echo "== completeness soak (ran beside the Windows tests)"; cat build/soak.log
  [ $soak_status -eq 0 ] || fail "soak"
else fail "Windows build"; fi

end_phase
echo; echo "== time per phase"; printf '%s\n' "${timings[@]}"; printf '%6d s  in all\n' "$SECONDS"
[ $status -eq 0 ] || echo "Some test phases FAILED (see the lines starting with !!)."
exit $status
