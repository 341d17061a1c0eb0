#!/usr/bin/env bash
# Installs what the build needs, then configures and builds (preset "default"
# unless one is named).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
preset=${1:-default}
scripts/deps.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
