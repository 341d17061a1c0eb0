#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and runs each of them for
# SECONDS (default 600), a few at a time. Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
# PARQUILL_FUZZ_JOBS sets how many run at once (default: the number of cores).
# The seeds are fuzz/corpus/<target>/; what a run learns is kept in
# build/fuzz/corpus/<target>/, findings go to build/fuzz/findings/ and every
# run's log to build/fuzz/logs/. Ends with status 1 when a target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

seconds=${1:-600}
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(line_reader number_text layer_scan region_builder
  chiban_text_reader conversion_run lots_from_lines mapxml_reader
  block_expansion)
jobs=${PARQUILL_FUZZ_JOBS:-$(nproc)}

# The longest input worth trying, per target: numbers are short, drawings and
# MIF files need room for a few entities or regions.
declare -A max_len=(
  [line_reader]=4096 [number_text]=256 [layer_scan]=8192 [region_builder]=16384
  [chiban_text_reader]=8192 [conversion_run]=16384
  [lots_from_lines]=16384 [mapxml_reader]=16384 [block_expansion]=16384)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]/#/fuzz_}"

out=build/fuzz
mkdir -p "$out/logs" "$out/findings"

run_target() {
  local target=$1
  mkdir -p "$out/corpus/$target"
  "$out/fuzz/fuzz_$target" "$out/corpus/$target" "fuzz/corpus/$target" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len="${max_len[$target]:-4096}" -print_final_stats=1 \
    -artifact_prefix="$out/findings/$target-" >"$out/logs/$target.log" 2>&1
}

declare -A pids=()
failed=()
for target in "${targets[@]}"; do
  while [[ $(jobs -rp | wc -l) -ge $jobs ]]; do wait -n || true; done
  run_target "$target" &
  pids[$target]=$!
done
for target in "${targets[@]}"; do
  if ! wait "${pids[$target]}"; then failed+=("$target"); fi
done

printf '%-22s %8s %12s %10s\n' target seconds executions exec/s
for target in "${targets[@]}"; do
  log="$out/logs/$target.log"
  runs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 \2/p' "$log" | tail -1)
  read -r executions took <<<"${runs:-- -}"
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  printf '%-22s %8s %12s %10s\n' "$target" "$took" "$executions" "${rate:--}"
done

if [[ ${#failed[@]} -gt 0 ]]; then
  for target in "${failed[@]}"; do
    echo "== fuzz_$target found a problem (log: $out/logs/$target.log)"
    grep -m1 -A30 -E 'ERROR:|runtime error|fuzz check failed|==ERROR' "$out/logs/$target.log" || \
      tail -30 "$out/logs/$target.log"
  done
  exit 1
fi
