#!/usr/bin/env bash
# fuzz.sh [seconds]: builds the fuzz targets with clang and runs each for the
# given time (default 300 s) on a copy of its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVEX_FUZZ=ON -DKORVEX_SANITIZE=ON -DKORVEX_BUILD_TESTS=ON >/dev/null
targets="paradox zipdirectory interchange listingreply settingsfiles"
declare -A corpus=([paradox]=paradox [zipdirectory]=zipdirectory [interchange]=interchange
                  [listingreply]=listing [settingsfiles]=settings)
for target in $targets; do
  cmake --build build-fuzz --target "fuzz_$target"
done
for target in $targets; do
  work=$(mktemp -d)
  cp tests/fuzz/corpus/${corpus[$target]}/* "$work"/
  build-fuzz/tests/fuzz/fuzz_$target -max_total_time="$seconds" -rss_limit_mb=4096 \
    -artifact_prefix=build-fuzz/ "$work"
  rm -rf "$work"
done
