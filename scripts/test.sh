#!/usr/bin/env bash
# Builds and runs the whole test suite, headless: once in a normal build and
# once with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests

jobs=$(nproc)
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIMBLY_WERROR=ON
cmake --build build/test -j "$jobs"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUIMBLY_WERROR=ON \
  -DQUIMBLY_SANITIZE=ON -DQUIMBLY_BENCH=OFF
cmake --build build/asan -j "$jobs"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
(cd build/test && ctest --output-on-failure -j "$jobs") || status=1
(cd build/asan && ctest --output-on-failure -j "$jobs") || status=1
exit $status
