#!/usr/bin/env bash
# check-layers.sh: fails when a source file includes a header of a layer it
# must not use, or includes a module header without naming its layer.
#   platform <- import <- export;  platform <- widgets;  all <- selection <- app
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
  [platform]="platform"
  [import]="platform import"
  [export]="platform import export"
  [widgets]="platform widgets"
  [selection]="platform import export widgets selection"
  [app]="platform import export widgets selection app"
)
layers="platform import export widgets selection app"
status=0
for layer in $layers; do
  while IFS=: read -r file line include; do
    target=${include%%/*}
    if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
      echo "$file:$line: layer $layer must not include $include" >&2
      status=1
    fi
  done < <(grep -rnoE '^#include "[a-z]+/[A-Za-z_]+\.h"' "src/$layer" | sed -E 's/#include "(.*)"/\1/')
  while IFS= read -r hit; do
    echo "$hit: include the header by its layer (\"<layer>/Name.h\")" >&2
    status=1
  done < <(grep -rnE '^#include "[^/"]+"' "src/$layer" || true)
done
# The lower floors stay free of the widget toolkit.
while IFS= read -r hit; do
  echo "$hit: platform, import and export use QtCore only" >&2
  status=1
done < <(grep -rnE '^#include <(QtWidgets|QtGui|QWidget|QApplication|QMessageBox|QDialog|QPixmap|QImage)' src/platform src/import src/export || true)
exit $status
