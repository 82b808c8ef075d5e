#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and runs every test:
# the normal build with warnings as errors, then the sanitizer build.
set -euo pipefail
cd "$(dirname "$0")"
export QT_QPA_PLATFORM=offscreen

scripts/setup.sh -DVINKRING_WERROR=ON
(cd build && ctest --output-on-failure --timeout 600)

echo "== Sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVINKRING_WERROR=ON -DVINKRING_SANITIZE=ON
cmake --build build-asan --parallel "$(nproc)"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
   ctest --output-on-failure --timeout 900)
