#!/usr/bin/env bash
# The demo: builds the module, generates a realistic dealer installation
# (about 40 vehicles over two branches, photos included) and runs the module
# from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build-demo -DCMAKE_BUILD_TYPE=Release -DKORVEX_BUILD_TESTS=OFF

demo=${KORVEX_DEMO_DIR:-$PWD/demo-host}
rm -rf "$demo"
prg=$(build-demo/tools/hostfixture/korvex_make_host "$demo" --demo)
cp build-demo/src/app/Korvex_Export "$prg"
echo "Demo host installation: $demo"
echo "Module installed in:    $prg"
"$prg/Korvex_Export"
