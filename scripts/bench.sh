#!/usr/bin/env bash
# Builds in Release and runs every benchmark; each row gives a figure, its
# baseline measured in the same run, the ratio and whether it meets its target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DKORVEX_BUILD_TESTS=OFF
status=0
for b in build-release/bench/bench_*; do
  [ -x "$b" ] && [ -f "$b" ] || continue
  "$b" || status=1
done
exit $status
