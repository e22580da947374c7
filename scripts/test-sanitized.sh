#!/usr/bin/env bash
# Builds Corkvane with AddressSanitizer and UndefinedBehaviorSanitizer (leaks included) into
# build-asan/ and runs the whole test suite there, headless. Any report fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORKVANE_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd build-asan
ctest --output-on-failure -j"$(nproc)" "$@"
