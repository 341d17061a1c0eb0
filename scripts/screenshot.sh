#!/usr/bin/env bash
# Takes the documentation's pictures of the window. Without an option: the
# example drawing chosen, its version shown and its layers read, saved as PNG
# (docs/screenshot.png unless another file is named). With --run: a complete
# run on a copy of the example drawing (筆界 for "面生成", 地番 for "属性付加"),
# the map showing each lot's outcome and the report below the controls
# (docs/screenshot-run.png unless another file is named).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
run=0
if [[ "${1:-}" == "--run" ]]; then
  run=1
  shift
fi
default_png=docs/screenshot.png
[[ $run == 1 ]] && default_png=docs/screenshot-run.png
png=$(realpath -m "${1:-$default_png}")
scripts/deps.sh xvfb xauth fonts-ipafont-gothic
scripts/build.sh default
mkdir -p "$(dirname "$png")"
if [[ $run == 1 ]]; then
  # The run writes its MIF, MID and SIMA files beside the drawing: a copy
  # in a temporary folder keeps examples/ clean.
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp examples/sample.dxf "$work/sample.dxf"
  cd "$work"
  PARQUILL_SCREENSHOT="$png" PARQUILL_SCREENSHOT_RUN=1 xvfb-run -a -s "-screen 0 1600x1000x24" \
    "$root/build/default/parquill" sample.dxf
else
  cd examples
  PARQUILL_SCREENSHOT="$png" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$root/build/default/parquill" sample.dxf
fi
echo "保存しました: $png"
