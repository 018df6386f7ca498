#!/usr/bin/env bash
# The test command: installs the packages, checks the layers' includes,
# builds, runs the whole suite, then
# runs it again built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
bash scripts/check-layers.sh

bash scripts/build.sh build -DCMAKE_BUILD_TYPE=Debug
ctest --test-dir build --output-on-failure -j "$(nproc)"

bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DKORVEX_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
