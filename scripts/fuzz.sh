#!/usr/bin/env bash
# The fuzz targets (fuzz/), built with clang into build-fuzz/.
#   scripts/fuzz.sh smoke                      every target for a few seconds (CTest)
#   scripts/fuzz.sh <target> [seconds] [args]  one long run; targets: inifile notestore
#                                              protocol linebuffer smtpreply syncnote
# A long run grows its corpus in build-fuzz/corpus/<target> (the committed seeds in
# fuzz/corpus/<target> are read, never written) and leaves any crashing input in
# build-fuzz/findings/. Replay one with: build-fuzz/fuzz_<target> <file>
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
CC=clang CXX=clang++ cmake -S fuzz -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)"

target=${1:-smoke}
if [ "$target" = smoke ]; then
  cd build-fuzz
  exec ctest --output-on-failure
fi
seconds=${2:-600}
shift $(( $# >= 2 ? 2 : $# ))
mkdir -p "build-fuzz/corpus/$target" build-fuzz/findings
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec "build-fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix=build-fuzz/findings/"$target"- "$@" \
  "build-fuzz/corpus/$target" "fuzz/corpus/$target"
