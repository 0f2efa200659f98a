#!/usr/bin/env bash
# Builds the viewer (installing missing Debian packages first) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUIMBLY_TESTS=OFF -DQUIMBLY_BENCH=OFF
cmake --build build/release
exec build/release/bin/quimbly
