#!/usr/bin/env bash
# Installs what is missing, builds in Release and makes the Debian package
# build/release/parquill_VERSION_ARCH.deb; prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
cmake --preset release -DPARQUILL_BUILD_TESTS=OFF >/dev/null
cmake --build --preset release
rm -f build/release/parquill_*.deb
(cd build/release && cpack -G DEB >/dev/null)
shopt -s nullglob
debs=(build/release/parquill_*.deb)
if [[ ${#debs[@]} -ne 1 ]]; then
  echo "cpack made no parquill_*.deb in build/release" >&2
  exit 1
fi
realpath "${debs[0]}"
