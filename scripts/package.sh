#!/usr/bin/env bash
# package.sh [folder]: builds the module in Release and makes the Debian
# package korvex-export_<version>_<arch>.deb in the folder (default: dist).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-dist}")
bash scripts/build.sh build-package -DCMAKE_BUILD_TYPE=Release -DKORVEX_BUILD_TESTS=OFF -DKORVEX_BUILD_TOOLS=OFF -DKORVEX_BUILD_BENCH=OFF
mkdir -p "$out"
(cd build-package && cpack -G DEB -B "$out")
rm -rf "$out/_CPack_Packages"
ls "$out"/korvex-export_*.deb
