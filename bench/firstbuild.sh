#!/usr/bin/env bash
# A newcomer's first scripts/test: configure and build the test build in an empty directory
# with the compiler cache off (a fresh machine has an empty cache), then run the whole suite.
# The machine is shared, so the wall clock of the build is noisy: the processor time (user +
# sys) is the steady figure, and the build on 2 cores takes about half of it. The target is
# the whole first run (build on 2 cores + test run) under 10 minutes, the test run under 4.
# Usage: bench/firstbuild.sh [--no-tests] [source-dir [build-dir]]
# The build directory (build/firstbuild by default) is emptied first; naming build/test leaves
# the measured build for scripts/test to go on from.
set -euo pipefail
run_tests=1
if [ "${1:-}" = "--no-tests" ]; then
  run_tests=0
  shift
fi
source_dir="$(cd "${1:-$(dirname "${BASH_SOURCE[0]}")/..}" && pwd)"
build_dir="${2:-$source_dir/build/firstbuild}"
rm -rf "$build_dir"
mkdir -p "$build_dir"
times="$build_dir/times"

export CCACHE_DISABLE=1
/usr/bin/time -f "%U %S %e" -o "$times.configure" \
  cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMORVANE_BUILD_TESTS=ON -DMORVANE_BUILD_BENCH=ON >/dev/null
build_status=0
/usr/bin/time -f "%U %S %e" -o "$times.build" \
  cmake --build "$build_dir" -j "$(nproc)" -- -k 0 >"$build_dir/build.log" 2>&1 || build_status=$?
if grep -q "warning:" "$build_dir/build.log"; then
  echo "firstbuild: the build printed warnings:" >&2
  grep "warning:" "$build_dir/build.log" | sort -u >&2
fi
if [ "$build_status" != 0 ]; then
  grep -A3 "FAILED\|error:" "$build_dir/build.log" >&2
  echo "firstbuild: the build failed (see $build_dir/build.log)" >&2
  run_tests=0
fi

test_wall=0
test_status=0
if [ "$run_tests" = 1 ]; then
  start=$(date +%s.%N)
  (cd "$build_dir" && QT_QPA_PLATFORM=offscreen ctest --no-tests=error -j "$(nproc)" \
    >"$build_dir/ctest.log" 2>&1) || test_status=$?
  test_wall=$(echo "$(date +%s.%N) - $start" | bc)
  tail -n 3 "$build_dir/ctest.log"
fi

read -r cu cs cw <"$times.configure"
read -r bu bs bw <"$times.build"
awk -v cu="$cu" -v cs="$cs" -v cw="$cw" -v bu="$bu" -v bs="$bs" -v bw="$bw" \
    -v tw="$test_wall" -v run_tests="$run_tests" -v cores="$(nproc)" 'BEGIN {
  cpu = cu + cs + bu + bs
  two_core = cw + (bu + bs) / 2
  printf "configure: %.1f s wall\n", cw
  printf "build: %.1f s processor (user %.1f, sys %.1f), %.1f s wall on %d shared cores\n", bu + bs, bu, bs, bw, cores
  printf "build on 2 cores (processor / 2): %.1f s = %.1f min\n", two_core, two_core / 60
  if (run_tests == 1) {
    printf "test run: %.1f s wall, target 240 s: ratio %.2f %s\n", tw, tw / 240, tw <= 240 ? "PASS" : "FAIL"
    total = two_core + tw
    printf "first scripts/test: %.1f s = %.1f min, target 600 s: ratio %.2f %s\n", total, total / 60, total / 600, total <= 600 ? "PASS" : "FAIL"
  } else {
    printf "first build alone: target 600 s: ratio %.2f %s\n", two_core / 600, two_core <= 600 ? "PASS" : "FAIL"
  }
}'
[ "$build_status" = 0 ] || exit "$build_status"
exit "$test_status"
