#!/usr/bin/env bash
# Builds in Release and runs every benchmark of bench/, generating its data
# on the way; prints one table: each figure, its baseline measured in the
# same run, the ratio and whether it meets its target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DKORVEX_BUILD_TESTS=OFF >/dev/null
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
printf '%-44s %12s | %-28s %12s | %s\n' "figure" "value" "baseline" "value" "ratio and target"
printf '%.0s-' $(seq 130); echo
status=0
for b in build-release/bench/bench_*; do
  [ -x "$b" ] && [ -f "$b" ] || continue
  "$b" 2>/dev/null || status=1
done
if [ $status -eq 0 ]; then echo "Every target met."; else echo "Some targets missed (see MISSED above)."; fi
exit $status
