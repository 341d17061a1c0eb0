#!/usr/bin/env bash
# Installs what is missing, builds every target (the micro-benchmarks too, so
# that they cannot stop compiling unseen; they are built, not run), and runs
# every test; then runs the core's tests again under the address and
# undefined-behaviour sanitizers, and each fuzz target for a short while.
#   PARQUILL_SANITIZERS=0      skips the sanitizer builds (default 1)
#   PARQUILL_FUZZ_SECONDS=N    seconds per fuzz target (default 10; 0 skips)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh default
if [[ ! -x build/default/bench/parquill_bench ]]; then
  echo "build/default/bench/parquill_bench was not built (is libbenchmark-dev installed?)" >&2
  exit 1
fi
ctest --preset default --output-on-failure -j "$(nproc)"

if [[ ${PARQUILL_SANITIZERS:-1} != 0 ]]; then
  scripts/build.sh asan
  ctest --preset asan --output-on-failure -j "$(nproc)"
fi

fuzz_seconds=${PARQUILL_FUZZ_SECONDS:-10}
if [[ $fuzz_seconds -gt 0 ]]; then
  scripts/fuzz.sh "$fuzz_seconds"
fi
