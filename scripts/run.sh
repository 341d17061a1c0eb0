#!/usr/bin/env bash
# Installs what is missing, builds, and opens the program on the example folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default
root=$(pwd)
cd examples
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec "$root/build/default/parquill"
fi
echo "画面がありません (DISPLAY も WAYLAND_DISPLAY も未設定): コマンドラインで見本の図面を変換します。"
cli="$root/build/default/parquill-cli"
"$cli" version sample.dxf
"$cli" convert sample.dxf --boundary 筆界 --text 地番
echo "--- examples/sample.Sim (先頭 20 行、Shift-JIS を UTF-8 で表示) ---"
head -n 20 sample.Sim | iconv -f CP932 -t UTF-8 | tr -d '\r'
