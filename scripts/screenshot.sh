#!/usr/bin/env bash
# Takes the documentation's pictures of the window under a virtual screen.
#
#   scripts/screenshot.sh [FILE.png]        the example drawing chosen, its
#                                           version shown and its layers read
#                                           (docs/screenshot.png)
#   scripts/screenshot.sh --run [FILE.png]  a complete run on a copy of the
#                                           example drawing (筆界 for "面生成",
#                                           地番 for "属性付加"), the map showing
#                                           each lot's outcome, the lot in its
#                                           middle clicked, and the report
#                                           (docs/screenshot-run.png)
#   scripts/screenshot.sh --2x [FILE.png]   the first picture at QT_SCALE_FACTOR=2
#                                           (docs/screenshot-2x.png)
#   scripts/screenshot.sh --site [FILE.png] the 地図XML sample of 130 lots open,
#                                           lot 2786 found by its number and its
#                                           neighbours chosen (docs/screenshot-site.png)
#   scripts/screenshot.sh --all             the four pictures into docs/
#
# Every picture fails (and names the control) when a control is not whole in
# it. PARQUILL_BUILD_DIR names a build folder that already holds the window;
# without, preset "default" is configured and the window alone is built.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [[ "${1:-}" == "--all" ]]; then
  "$0"
  "$0" --run
  "$0" --2x
  "$0" --site
  exit 0
fi

mode=layers
case "${1:-}" in
  --run) mode=run; shift ;;
  --2x) mode=2x; shift ;;
  --site) mode=site; shift ;;
esac
case $mode in
  layers) default_png=docs/screenshot.png ;;
  run) default_png=docs/screenshot-run.png ;;
  2x) default_png=docs/screenshot-2x.png ;;
  site) default_png=docs/screenshot-site.png ;;
esac
png=$(realpath -m "${1:-$default_png}")

scripts/deps.sh xvfb xauth fonts-ipafont-gothic
if [[ -n "${PARQUILL_BUILD_DIR:-}" ]]; then
  build=$(realpath "$PARQUILL_BUILD_DIR")
else
  source scripts/packages.sh
  scripts/deps.sh "${BUILD_PACKAGES[@]}"
  cmake --preset default >/dev/null
  cmake --build --preset default --target parquill
  build=$root/build/default
fi
mkdir -p "$(dirname "$png")"

# The run writes its MIF, MID and SIMA files beside the drawing: a copy in a
# temporary folder keeps examples/ clean, and the settings of the window go
# there too (no folder or zone remembered from the user's own work).
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/sample.dxf "$work/sample.dxf"
cp tests/data/mapxml/01229-4500-1.zip "$work/01229-4500-1.zip"
if [[ $mode == run || $mode == site ]]; then cd "$work"; else cd examples; fi
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export PARQUILL_SCREENSHOT="$png" PARQUILL_SCREENSHOT_CHECK=1
case $mode in
  layers)
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/parquill" sample.dxf ;;
  run)
    PARQUILL_SCREENSHOT_RUN=1 xvfb-run -a -s "-screen 0 1600x1000x24" \
      "$build/parquill" sample.dxf ;;
  site)
    PARQUILL_SCREENSHOT_SITE=2786 xvfb-run -a -s "-screen 0 1600x1000x24" \
      "$build/parquill" 01229-4500-1.zip ;;
  2x)
    # A screen of 2560x1600 device pixels is 1280x800 at twice the scale.
    QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2560x1600x24" "$build/parquill" sample.dxf ;;
esac
echo "保存しました: $png"
