#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and runs every test:
# the normal build with warnings as errors, then the whole suite again in a
# build with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer,
# then the fuzz targets for a bounded time (FUZZ_SECONDS per target, 20 by
# default; 0 skips them).
set -euo pipefail
cd "$(dirname "$0")"
export QT_QPA_PLATFORM=offscreen
root=$PWD
started=$SECONDS
stage() { echo "== $1 (at $((SECONDS - started)) s)"; }

stage "Normal build, warnings as errors"
scripts/setup.sh -DVINKRING_WERROR=ON
(cd build && ctest --output-on-failure --timeout 600)

stage "Sanitizer build (AddressSanitizer + LeakSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVINKRING_WERROR=ON -DVINKRING_SANITIZE=ON
cmake --build build-asan --parallel "$(nproc)"
# Any report fails the test that made it. The suppressions cover leaks inside
# system libraries only (see the file); none names the program's own code.
(cd build-asan &&
   ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
   LSAN_OPTIONS=suppressions="$root/tests/hardening/lsan.supp":print_suppressions=0 \
   UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
   ctest --output-on-failure --timeout 900)

if [[ ${FUZZ_SECONDS:-20} != 0 ]]; then
  stage "Fuzzing (clang, libFuzzer), ${FUZZ_SECONDS:-20} s per target"
  fuzz/run.sh "${FUZZ_SECONDS:-20}" build-fuzz
fi
stage "All passed"
