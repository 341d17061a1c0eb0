#!/usr/bin/env bash
# Times parquill-cli convert on generated cadastral drawings and prints one
# Markdown table, then the code-size table of bench/size.sh (see
# bench/README.md for what each row means). `bench/run.sh --static` prints only
# the code-size table: it builds and times nothing.
#
# Environment:
#   BENCH_SCALE          multiplies the drawing sizes in MB (default 1: 200 MB)
#   BENCH_RUNS           runs per figure, the median is shown (default 5)
#   BENCH_CAPACITY_RUNS  runs per figure of row 1, whose runs last milliseconds
#                        and move most with the machine's load (default 21)
#   BENCH_SLOW_RUNS      runs per ogr2ogr and lxml figure (default 3)
#   PARQUILL_CLI         the parquill-cli to time (default: the build of the
#                        preset "bench", a release build with aligned loops)
#   BENCH_DIR            where the drawings go (default: a temporary folder,
#                        removed at the end)
#   BENCH_STEPS          which steps to run: "dxf" (the drawings, rows 1 to 7b),
#                        "mapxml" (the 地図XML files, rows 8a to 8d), or both
#                        (default "dxf mapxml"); "prefecture" (rows 9a to 9d: a
#                        prefecture's folder, 21 GB at scale 1) only when named
#   BENCH_PREFECTURE_RUNS runs per figure of rows 9a to 9d (default 1)
#   BENCH_BASELINE_CLI   another parquill-cli (an earlier build) whose time on
#                        one core row 9c shows beside this one's
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ${1:-} == --static ]]; then
  exec bench/size.sh
fi
source scripts/packages.sh

scale=${BENCH_SCALE:-1}
runs=${BENCH_RUNS:-5}
capacity_runs=${BENCH_CAPACITY_RUNS:-21}
slow_runs=${BENCH_SLOW_RUNS:-3}

steps=${BENCH_STEPS:-dxf mapxml}

scripts/deps.sh "${BUILD_PACKAGES[@]}" gdal-bin time unzip python3-lxml >&2
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target parquill-cli parquill-generate-drawing \
  parquill-generate-line-drawing parquill-generate-mapxml >&2
cli=${PARQUILL_CLI:-$PWD/build/bench/parquill-cli}
generate=$PWD/build/bench/tools/parquill-generate-drawing
generate_lines=$PWD/build/bench/tools/parquill-generate-line-drawing
generate_mapxml=$PWD/build/bench/tools/parquill-generate-mapxml

if [[ -n ${BENCH_DIR:-} ]]; then
  work=$BENCH_DIR
  mkdir -p "$work"
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/parquill-bench.XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi

boundary=筆界
lot_numbers=地番

# ---- helpers ---------------------------------------------------------------

# The outputs of the previous run, removed before the clock starts, so that
# every run writes new files and no run times their removal.
clear_outputs() {
  rm -f "$work"/out.Sim "$work"/out.MIF "$work"/out.MID "$work"/ogr.mif "$work"/ogr.mid
  rm -rf "$work/mapxml-out"
}

# The median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan";
  else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# median_seconds RUNS COMMAND...: the median wall time of COMMAND, its output
# discarded; "fail" when a run fails. The clock is bash's own (EPOCHREALTIME),
# read without starting a process.
median_seconds() {
  local n=$1 i start end
  shift
  local times=()
  for ((i = 0; i < n; i++)); do
    clear_outputs
    start=$EPOCHREALTIME
    if ! "$@" >/dev/null 2>&1; then
      echo fail
      return
    fi
    end=$EPOCHREALTIME
    times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')")
  done
  printf '%s\n' "${times[@]}" | median
}

# median_peak_kb RUNS COMMAND...: the median peak resident memory in kB.
median_peak_kb() {
  local n=$1 i
  shift
  local peaks=()
  for ((i = 0; i < n; i++)); do
    if ! /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null 2>&1; then
      echo fail
      return
    fi
    peaks+=("$(tail -n 1 "$work/peak")")
  done
  printf '%s\n' "${peaks[@]}" | median
}

is_number() { [[ $1 =~ ^[0-9.e+-]+$ ]]; }
# A time in seconds, shown in ms below one second.
seconds() {
  if ! is_number "$1"; then
    echo "$1"
  elif awk -v t="$1" 'BEGIN { exit !(t < 1) }'; then
    awk -v t="$1" 'BEGIN { printf "%.1f ms", t * 1000 }'
  else
    printf '%.3f s' "$1"
  fi
}
megabytes_kb() { if is_number "$1"; then awk -v k="$1" 'BEGIN { printf "%.1f MB", k / 1024 }'; else echo "$1"; fi; }
# ratio A B [DIGITS]: A / B with a trailing ×, or n/a.
ratio() {
  if is_number "$1" && is_number "$2"; then
    awk -v a="$1" -v b="$2" -v d="${3:-1}" 'BEGIN { if (b == 0) print "n/a"; else printf "%.*f×", d, a / b }'
  else
    echo n/a
  fi
}
file_mb() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", b / 1e6 }'; }

warm() { cat "$1" >/dev/null; }

# convert_into CLI DRAWING [OPTIONS]: one conversion, the outputs in the work folder.
convert_into() {
  local tool=$1 drawing=$2
  shift 2
  "$tool" convert "$drawing" --boundary "$boundary" --text "$lot_numbers" --output "$work/out.Sim" "$@"
}
ogr_into() { ogr2ogr -f "MapInfo File" "$work/ogr.mif" "$1"; }

# The time of a conversion, or n/a while the tool has no convert command.
has_convert() {
  local message
  message=$("$1" convert 2>&1 >/dev/null) && return 0
  [[ $message != *知らないコマンド* ]]
}
# convert_seconds CLI DRAWING [OPTIONS]: the median time of a conversion
# ($figure_runs runs, or $runs).
convert_seconds() {
  local tool=$1 drawing=$2
  if [[ -z $tool ]] || ! has_convert "$tool"; then
    echo n/a
    return
  fi
  warm "$drawing"
  median_seconds "${figure_runs:-$runs}" convert_into "$@"
}
convert_peak_kb() {
  if ! has_convert "$cli"; then
    echo n/a
    return
  fi
  median_peak_kb "$runs" "$cli" convert "$1" --boundary "$boundary" --text "$lot_numbers" \
    --output "$work/out.Sim"
}

# ---- workloads -------------------------------------------------------------

# Lots of the big drawing: the capacity map, 40 x 50 (2000 lots and 14361
# points, the most one SIMA conversion takes), at full scale; fewer for a
# smaller scale so that the lots stay about the same share of the file.
big_rows=$(awk -v s="$scale" 'BEGIN { v = int(40 * sqrt(s) + 0.5); print (v < 4 ? 4 : (v > 40 ? 40 : v)) }')
big_cols=$(awk -v s="$scale" 'BEGIN { v = int(50 * sqrt(s) + 0.5); print (v < 4 ? 4 : (v > 50 ? 50 : v)) }')
mb() { awk -v s="$scale" -v m="$1" 'BEGIN { printf "%g", m * s }'; }

if [[ $steps == *dxf* ]]; then

# lots DRAWING ROWS COLS [MORE OPTIONS]: a map with 3 extra vertices per edge,
# the lot numbers in reversed order and 1.5 outside texts per lot.
lots() {
  local out=$1 rows=$2 cols=$3
  shift 3
  "$generate" --rows "$rows" --cols "$cols" --edge-vertices 3 --text-order reversed \
    --outside-texts $((rows * cols * 3 / 2)) -o "$out" "$@"
}

echo "Generating the drawings in $work ..." >&2
lots "$work/capacity.dxf" 40 50
lots "$work/lots500.dxf" 20 25
lots "$work/lots1000.dxf" 25 40
big_mb=$(mb 200)
# Its handles start at 10E300: they pass 10E400 and such, which read as
# numbers beyond the double range; every lot number must still be read.
generation_s=$(median_seconds 1 lots "$work/big.dxf" "$big_rows" "$big_cols" --target-mb "$big_mb" \
  --first-handle 10E300)
lots "$work/half.dxf" "$big_rows" "$big_cols" --target-mb "$(mb 100)"
lots "$work/mb50.dxf" "$big_rows" "$big_cols" --target-mb "$(mb 50)"
big=$work/big.dxf
# Lots drawn as lines (R12): the capacity map's 40 x 50 lots, once with every
# side one LINE (about 2,300 lines) and once with every LINE in five pieces
# and the whole line work drawn twice (about 23,000 lines, the same lots).
"$generate_lines" --rows 40 --cols 50 -o "$work/lines.dxf"
"$generate_lines" --rows 40 --cols 50 --pieces 5 --twice -o "$work/lines10.dxf"
count_lines() { grep -c -E $'^(LINE|POLYLINE)\r?$' "$1"; }
capacity_points=$((41 * 51 + 3 * (41 * 50 + 40 * 51)))

# ---- measurements ----------------------------------------------------------

# The drawings just written are still being written back to the disk: wait
# for that, so that no figure shares the machine with it.
sync
echo "Measuring ($runs runs per figure) ..." >&2
figure_runs=$capacity_runs
capacity_s=$(convert_seconds "$cli" "$work/capacity.dxf")
figure_runs=

warm "$big"
wc_s=$(median_seconds "$runs" wc -l "$big")
big_s=$(convert_seconds "$cli" "$big")
ogr_s=$(median_seconds "$slow_runs" ogr_into "$big")

big_peak=$(convert_peak_kb "$big")
big_summary=$(convert_into "$cli" "$big" 2>&1 | head -n 1 || true)
half_peak=$(convert_peak_kb "$work/half.dxf")

half_s=$(convert_seconds "$cli" "$work/half.dxf")
mb50_s=$(convert_seconds "$cli" "$work/mb50.dxf")
figure_runs=$capacity_runs  # as many runs as row 1, which row 4b divides by
lots500_s=$(convert_seconds "$cli" "$work/lots500.dxf")
lots1000_s=$(convert_seconds "$cli" "$work/lots1000.dxf")
figure_runs=
lines_s=$(convert_seconds "$cli" "$work/lines.dxf" --from-lines)
lines10_s=$(convert_seconds "$cli" "$work/lines10.dxf" --from-lines)

big_size=$(file_mb "$big")
lots "$work/big-lots-only.dxf" "$big_rows" "$big_cols"
lots_share=$(awk -v l="$(stat -c %s "$work/big-lots-only.dxf")" -v b="$(stat -c %s "$big")" \
  'BEGIN { printf "%.1f", 100 * l / b }')
gen_rate=$(awk -v s="$generation_s" -v m="$big_size" 'BEGIN { printf "%.0f MB/s", m / s }')

fi  # dxf

# ---- 地図XML ---------------------------------------------------------------

# A registry file tiled to 100 MB (and 400 MB) by parquill-generate-mapxml,
# and a folder of 1,000 small files (a municipality): the two sample files,
# 500 times each under other names (hard links), against 100 of them.
mapxml_into() { "$cli" mapxml "$@" --output "$work/mapxml-out"; }
mapxml_peak_kb() { median_peak_kb "$runs" "$cli" mapxml "$@" --output "$work/mapxml-out"; }
if [[ $steps == *mapxml* ]]; then
  echo "Generating the 地図XML files in $work ..." >&2
  unzip -p tests/data/mapxml/46505-3411-1.zip >"$work/map-source.xml"
  unzip -p tests/data/mapxml/12103-0400-76.zip >"$work/map-source2.xml"
  "$generate_mapxml" "$work/map-source.xml" --target-mb "$(mb 100)" -o "$work/map100.xml"
  "$generate_mapxml" "$work/map-source.xml" --target-mb "$(mb 400)" -o "$work/map400.xml"
  mkdir -p "$work/town1000" "$work/town100"
  for ((i = 1; i <= 500; i++)); do
    ln -f "$work/map-source.xml" "$work/town1000/a$i.xml"
    ln -f "$work/map-source2.xml" "$work/town1000/b$i.xml"
    if ((i <= 50)); then
      ln -f "$work/map-source.xml" "$work/town100/a$i.xml"
      ln -f "$work/map-source2.xml" "$work/town100/b$i.xml"
    fi
  done
  sync
  echo "Measuring the 地図XML files ($runs runs per figure) ..." >&2
  warm "$work/map100.xml"
  map_wc_s=$(median_seconds "$runs" wc -l "$work/map100.xml")
  map100_s=$(median_seconds "$runs" mapxml_into "$work/map100.xml")
  warm "$work/map400.xml"
  map400_s=$(median_seconds "$runs" mapxml_into "$work/map400.xml")
  map100_peak=$(mapxml_peak_kb "$work/map100.xml")
  map100_summary=$(mapxml_into "$work/map100.xml" 2>&1 | head -n 1 || true)
  # The same file through a plain lxml converter (bench/lxml_reference.py).
  lxml_convert() { /usr/bin/python3 bench/lxml_reference.py "$1" "$work/lxml-out"; }
  lxml_s=$(median_seconds "$slow_runs" lxml_convert "$work/map100.xml")
  lxml_peak=$(median_peak_kb "$slow_runs" /usr/bin/python3 bench/lxml_reference.py \
    "$work/map100.xml" "$work/lxml-out")
  town1000_s=$(median_seconds "$runs" mapxml_into "$work/town1000")
  town1000_peak=$(mapxml_peak_kb "$work/town1000")
  town100_peak=$(mapxml_peak_kb "$work/town100")
fi

# A prefecture (rows 9a to 9d): parquill-generate-mapxml --prefecture tiles the
# Okinawa sample 47213-3601-109 into 2,000 files in 40 municipality folders,
# 1.9 million lots in all (from 7 to 15,000 lots a file), about 21 GB as the
# registry's own are; two municipalities are then packaged as the registry
# ships them, a ZIP of area ZIPs. Converted with -j 1 and with the default -j.
if [[ $steps == *prefecture* ]]; then
  pref_runs=${BENCH_PREFECTURE_RUNS:-1}
  pref_lots=$(awk -v s="$scale" 'BEGIN { printf "%d", 1900000 * s }')
  pref_files=$(awk -v s="$scale" 'BEGIN { v = int(2000 * s); print (v < 40 ? 40 : v) }')
  echo "Generating a prefecture ($pref_files files, $pref_lots lots) in $work ..." >&2
  unzip -p tests/data/mapxml/47213-3601-109.zip >"$work/okinawa-source.xml"
  rm -rf "$work/pref"
  "$generate_mapxml" "$work/okinawa-source.xml" --prefecture "$work/pref" --files "$pref_files" \
    --lots "$pref_lots" >&2
  for town in 47201 47202; do
    (cd "$work/pref/$town" && for f in *.xml; do zip -q -m "${f%.xml}.zip" "$f"; done &&
      zip -q -0 -m "../$town.zip" ./*.zip)
    rmdir "$work/pref/$town"
  done
  pref_mb=$(du -sm "$work/pref" | cut -f1)
  sync
  echo "Measuring the prefecture ($pref_runs runs per figure) ..." >&2
  pref_j1_s=$(median_seconds "$pref_runs" mapxml_into "$work/pref" -j 1)
  pref_s=$(median_seconds "$pref_runs" mapxml_into "$work/pref")
  # The peak and the totals line from one more run with the default -j.
  clear_outputs
  /usr/bin/time -f %M -o "$work/peak" "$cli" mapxml "$work/pref" --output "$work/mapxml-out" \
    >"$work/pref-lines.txt" 2>&1 || true
  pref_peak=$(tail -n 1 "$work/peak")
  pref_summary=$(tail -n 1 "$work/pref-lines.txt")
  pref_written=$(sed -n 's/.*、筆 \([0-9]*\)（.*/\1/p' <<<"$pref_summary")
  if [[ -n ${BENCH_BASELINE_CLI:-} ]]; then
    baseline_into() { "$BENCH_BASELINE_CLI" mapxml "$@" --output "$work/mapxml-out"; }
    pref_base_s=$(median_seconds "$pref_runs" baseline_into "$work/pref")
  fi
fi

# ---- the table -------------------------------------------------------------

# check CONDITION A [B]: "met" when the awk condition on a and b holds, "not
# met" when it does not, "n/a" when a figure is missing.
check() {
  local condition=$1 a=$2 b=${3:-0}
  if ! is_number "$a" || ! is_number "$b"; then
    echo n/a
  elif awk -v a="$a" -v b="$b" "BEGIN { exit !($condition) }"; then
    echo met
  else
    echo "not met"
  fi
}
every_lot="領域 $((big_rows * big_cols))（地番あり $((big_rows * big_cols))）"
if [[ ${big_summary:-} == *"$every_lot"* ]]; then summary_met=met; else summary_met="not met"; fi

row() { printf '| %s | %s | %s | %s | %s | %s | %s |\n' "$@"; }
echo
echo "Parquill benchmark — $(date -u +%Y-%m-%d), scale $scale, median of $runs runs" \
  "(row 1 $capacity_runs, ogr2ogr $slow_runs), $(nproc) cores"
echo
row "Row" "Workload" "parquill-cli convert" "Reference" "Ratio" "Goal" "Met"
row "---" "---" "---:" "---:" "---:" "---" "---"
if [[ $steps == *dxf* ]]; then
row "1" "Capacity map: 2000 lots, $capacity_points points, 5000 texts, reversed ($(file_mb "$work/capacity.dxf") MB)" \
  "$(seconds "$capacity_s")" "" "" "— (the 2000 lots of row 4b)" ""
row "2a" "Big drawing: $big_size MB, $((big_rows * big_cols)) lots ($lots_share % of it)" "$(seconds "$big_s")" \
  "wc -l $(seconds "$wc_s")" "$(ratio "$big_s" "$wc_s")" "≤ 6× wc -l" \
  "$(check 'a <= 6 * b' "$big_s" "$wc_s")"
row "2b" "Big drawing: $big_size MB" "$(seconds "$big_s")" "ogr2ogr MIF $(seconds "$ogr_s")" \
  "$(ratio "$ogr_s" "$big_s")" "≥ 20× faster than ogr2ogr" "$(check 'a >= 20 * b' "$ogr_s" "$big_s")"
row "2c" "Big drawing, handles from 10E300: the summary line" "$big_summary" "" "" \
  "every lot with its number" "$summary_met"
row "3a" "Peak memory, big drawing ($big_size MB)" "$(megabytes_kb "$big_peak")" "" "" "≤ 16 MB" \
  "$(check 'a <= 16 * 1024' "$big_peak")"
row "3b" "Peak memory, half size ($(file_mb "$work/half.dxf") MB, same lots)" \
  "$(megabytes_kb "$half_peak")" "big $(megabytes_kb "$big_peak")" \
  "$(ratio "$big_peak" "$half_peak" 2)" "big ≤ 1.10× half" \
  "$(check 'a <= 1.10 * b' "$big_peak" "$half_peak")"
row "4a" "Scaling by size: $(file_mb "$work/mb50.dxf") / $(file_mb "$work/half.dxf") / $big_size MB" \
  "$(seconds "$mb50_s") / $(seconds "$half_s") / $(seconds "$big_s")" "" \
  "$(ratio "$big_s" "$mb50_s" 2) for 4× size" "linear in size" ""
row "4b" "Scaling by lots: 500 / 1000 / 2000 lots" \
  "$(seconds "$lots500_s") / $(seconds "$lots1000_s") / $(seconds "$capacity_s")" "" \
  "$(ratio "$capacity_s" "$lots500_s" 2) for 4× lots" "≤ 4.5× for 4× lots" \
  "$(check 'a <= 4.5 * b' "$capacity_s" "$lots500_s")"
row "5" "Generating the big drawing ($big_size MB)" "" "generator $(seconds "$generation_s")" \
  "$gen_rate" "—" ""
row "7a" "Lots from lines: 2000 lots, $(count_lines "$work/lines.dxf") lines, R12 ($(file_mb "$work/lines.dxf") MB)" \
  "$(seconds "$lines_s")" "" "" "< 1 s" "$(check 'a < 1' "$lines_s")"
row "7b" "Lots from lines: the same lots in $(count_lines "$work/lines10.dxf") lines" \
  "$(seconds "$lines10_s")" "$(count_lines "$work/lines.dxf") lines $(seconds "$lines_s")" \
  "$(ratio "$lines10_s" "$lines_s")" "≤ 12× for 10× lines" "$(check 'a <= 12 * b' "$lines10_s" "$lines_s")"
fi
if [[ $steps == *mapxml* ]]; then
row "8a" "地図XML (mapxml): $(file_mb "$work/map100.xml") MB, 46505-3411-1 tiled" \
  "$(seconds "$map100_s")" "wc -l $(seconds "$map_wc_s")" "$(ratio "$map100_s" "$map_wc_s")" \
  "≤ 8× wc -l" "$(check 'a <= 8 * b' "$map100_s" "$map_wc_s")"
row "8b" "地図XML: peak memory, $(file_mb "$work/map100.xml") MB" "$(megabytes_kb "$map100_peak")" \
  "" "" "≤ 250 MB" "$(check 'a <= 250 * 1024' "$map100_peak")"
row "8c" "地図XML: $(file_mb "$work/map400.xml") MB against $(file_mb "$work/map100.xml") MB" \
  "$(seconds "$map400_s")" "$(seconds "$map100_s")" "$(ratio "$map400_s" "$map100_s" 2)" \
  "≤ 4.5× for 4× size" "$(check 'a <= 4.5 * b' "$map400_s" "$map100_s")"
row "8d" "地図XML: a folder of 1,000 small files, peak memory against 100 files" \
  "$(seconds "$town1000_s"), $(megabytes_kb "$town1000_peak")" \
  "100 files $(megabytes_kb "$town100_peak")" "$(ratio "$town1000_peak" "$town100_peak" 2)" \
  "flat memory (≤ 1.10×)" "$(check 'a <= 1.10 * b' "$town1000_peak" "$town100_peak")"
row "8e" "地図XML: the summary line of row 8a" "$map100_summary" "" "" "—" ""
row "8f" "地図XML: the file of row 8a against a plain lxml converter" \
  "$(seconds "$map100_s"), $(megabytes_kb "$map100_peak")" \
  "lxml $(seconds "$lxml_s"), $(megabytes_kb "$lxml_peak")" "$(ratio "$lxml_s" "$map100_s")" \
  "≥ 10× faster, ≤ ¼ of its memory" \
  "speed $(check 'a >= 10 * b' "$lxml_s" "$map100_s"), memory $(check 'a * 4 <= b' "$map100_peak" "$lxml_peak")"
fi

if [[ $steps == *prefecture* ]]; then
us_per_lot() { awk -v t="$1" -v n="$2" 'BEGIN { if (n > 0 && t ~ /^[0-9.e+-]+$/) printf "%.1f µs", 1e6 * t / n; else print "n/a" }'; }
row "9a" "Prefecture: $pref_files files, $pref_lots lots, $pref_mb MB, 2 towns as ZIPs of ZIPs" \
  "default -j ($(nproc) cores) $(seconds "$pref_s")" "-j 1 $(seconds "$pref_j1_s")" \
  "$(ratio "$pref_s" "$pref_j1_s" 2)" "≤ 0.55× -j 1" "$(check 'a <= 0.55 * b' "$pref_s" "$pref_j1_s")"
row "9b" "Prefecture: peak memory, default -j" "$(megabytes_kb "$pref_peak")" "" "" "≤ 250 MB" \
  "$(check 'a <= 250 * 1024' "$pref_peak")"
row "9c" "Prefecture: time per lot written, -j 1" "$(us_per_lot "$pref_j1_s" "$pref_written")" \
  "${pref_base_s:+baseline $(us_per_lot "$pref_base_s" "$pref_written")}" \
  "${pref_base_s:+$(ratio "$pref_j1_s" "$pref_base_s" 2)}" "no slower than before" \
  "${pref_base_s:+$(check 'a <= 1.05 * b' "$pref_j1_s" "$pref_base_s")}"
row "9d" "Prefecture: the totals line" "$pref_summary" "" "" "—" ""
fi

bench/size.sh
