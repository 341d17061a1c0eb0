#!/usr/bin/env bash
# Takes the documentation's picture of the window: the example drawing chosen,
# its version shown and its layers read. Saves it as PNG (docs/screenshot.png
# unless another file is named).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
png=$(realpath -m "${1:-docs/screenshot.png}")
scripts/deps.sh xvfb xauth fonts-ipafont-gothic
scripts/build.sh default
mkdir -p "$(dirname "$png")"
cd examples
PARQUILL_SCREENSHOT="$png" xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$root/build/default/parquill" sample.dxf
echo "保存しました: $png"
