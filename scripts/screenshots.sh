#!/usr/bin/env bash
# Regenerates the README's pictures of the main window's two tabs and the
# photo dialog from a freshly generated demo host, without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build-demo -DCMAKE_BUILD_TYPE=Release -DKORVEX_BUILD_TESTS=OFF -DKORVEX_BUILD_BENCH=OFF
host=$(mktemp -d)
trap 'rm -rf "$host"' EXIT
prg=$(build-demo/tools/hostfixture/korvex_make_host "$host" --demo)
QT_QPA_PLATFORM=offscreen build-demo/tools/screenshots/korvex_screenshots "$prg" docs/screenshots
