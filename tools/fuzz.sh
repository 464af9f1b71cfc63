#!/usr/bin/env bash
# Builds every fuzz target with clang's libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for SECONDS (default 60), starting
# from the seeds kept in fuzz/corpus/<target>/. Inputs the fuzzer finds go to
# the build directory, not into the tree; a failing input is saved there as
# crash-* and named in the output. Ends with "N passed, N failed" (targets).
#
#   tools/fuzz.sh 600          # ten minutes per target
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}
build=${QUARNEL_FUZZ_DIR:-$root/build/fuzz}
jobs=${JOBS:-$(nproc)}
targets=(exports alias)

mkdir -p "$build"
if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DQUARNEL_FUZZ=ON -DQUARNEL_SANITIZE=ON -DQUARNEL_WERROR=ON &&
  cmake --build "$build" -j "$jobs" --target "${targets[@]/#/quarnel_fuzz_}"; } >"$build/build.log" 2>&1; then
  tail -n 40 "$build/build.log"
  echo "0 passed, ${#targets[@]} failed"
  exit 1
fi

passed=0
failed=0
for t in "${targets[@]}"; do
  found="$build/corpus/$t"
  mkdir -p "$found" "$build/artifacts"
  log="$build/$t.log"
  # The tests' code page: the round trip A -> W -> A must then hold.
  QUARNEL_ACP=1252 ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$build/fuzz/quarnel_fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 \
    -max_len=512 -timeout=30 -rss_limit_mb=3072 -artifact_prefix="$build/artifacts/$t-" \
    "$found" "fuzz/corpus/$t" >"$log" 2>&1
  rc=$?
  runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$')
  if [ $rc -eq 0 ]; then
    passed=$((passed + 1))
    echo "fuzz $t: ${runs:-0} executions in ${seconds} s, no failure"
  else
    failed=$((failed + 1))
    tail -n 40 "$log"
    echo "fuzz $t: FAILED after ${runs:-?} executions (exit $rc); inputs in $build/artifacts"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
