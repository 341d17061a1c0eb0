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
echo "画面がありません (DISPLAY も WAYLAND_DISPLAY も未設定): コマンドラインで見本の図面を処理します。"
"$root/build/default/parquill-cli" version sample.dxf
"$root/build/default/parquill-cli" layers sample.dxf
