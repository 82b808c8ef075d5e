#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UndefinedBehavior-
# Sanitizer, LeakSanitizer) and runs each for a bounded time from the seeds in
# fuzz/corpus/. Fails on any crash, failed check, leak or sanitizer report; the
# input that caused it is left in BUILD_DIR/artifacts/.
#
# Usage: fuzz/run.sh [seconds per target, default 20] [build dir, default build-fuzz]
# Extra libFuzzer options can be given in FUZZ_OPTIONS, e.g. FUZZ_OPTIONS="-jobs=2 -workers=2".
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
build=${2:-build-fuzz}

cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVINKRING_FUZZ=ON -DVINKRING_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz --parallel "$(nproc)"

mkdir -p "$build/artifacts" "$build/corpus"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

for target in document links recovery import linkcodes; do
  # New inputs go to a corpus in the build dir; the seeds stay as committed.
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  echo "== fuzz_$target for ${seconds} s"
  # shellcheck disable=SC2086
  "$build/fuzz_$target" "$corpus" "fuzz/corpus/$target" \
    -dict="fuzz/$target.dict" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
    -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 ${FUZZ_OPTIONS:-} \
    >"$build/fuzz_$target.log" 2>&1 || {
      status=$?
      tail -n 60 "$build/fuzz_$target.log"
      echo "fuzz_$target failed (exit $status); the input is in $build/artifacts/" >&2
      exit 1
    }
  grep -E "^(Done|stat::number_of_executed_units|stat::peak_rss_mb)" "$build/fuzz_$target.log" || true
done
echo "== fuzzing: no crash, leak or sanitizer report"
