#!/usr/bin/env bash
# Counts the non-blank lines of the code (*.cpp and *.h) and prints them as one
# Markdown table against their budgets: the core at most 5,000, the command
# line at most 300, everything but the window at most 7,600. A folder of src/
# that is neither the core, the command line nor the window (a reader added
# later, such as src/mapxml) is counted apart, on its own row. Then the places
# in src/ that write a MIF region record and a SIMA A01 record: one each.
# Reads the working tree; builds and runs nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

core_folders=(base geometry dxf mif sima convert)
core_budget=5000
cli_budget=300
all_budget=7600

# The non-blank lines of the *.cpp and *.h files under the folders named.
non_blank() {
  local files
  mapfile -d '' files < <(find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null)
  if [[ ${#files[@]} -eq 0 ]]; then
    echo 0
  else
    cat "${files[@]}" | grep -c -v -E '^[[:space:]]*$' || true
  fi
}
verdict() { if [[ $1 -le $2 ]]; then echo met; else echo "not met"; fi; }

core_paths=()
for folder in "${core_folders[@]}"; do
  [[ -d src/$folder ]] && core_paths+=("src/$folder")
done
core=$(non_blank "${core_paths[@]}")
cli=$(non_blank src/cli)

row() { printf '| %s | %s | %s | %s | %s |\n' "$@"; }
echo
echo "Code size — $(date -u +%Y-%m-%d), non-blank lines of *.cpp and *.h in src/"
echo
row "Row" "Code" "Lines" "Budget" "Met"
row "---" "---" "---:" "---:" "---"
row "6a" "Core: src/{$(IFS=,; echo "${core_folders[*]}")}" "$core" "≤ $core_budget" \
  "$(verdict "$core" "$core_budget")"
row "6b" "Command line: src/cli" "$cli" "≤ $cli_budget" "$(verdict "$cli" "$cli_budget")"
letters=(c d e f g h i j k)
n=0
while IFS= read -r folder; do
  name=${folder#src/}
  case " ${core_folders[*]} cli ui " in *" $name "*) continue ;; esac
  row "6${letters[n]}" "Apart from the core: $folder" "$(non_blank "$folder")" "—" "—"
  n=$((n + 1))
done < <(find src -mindepth 1 -maxdepth 1 -type d | LC_ALL=C sort)
all=$(non_blank $(find src -mindepth 1 -maxdepth 1 -type d ! -name ui | LC_ALL=C sort))
row "6z" "Everything but the window: src/ without ui" "$all" "≤ $all_budget" \
  "$(verdict "$all" "$all_budget")"
regions=$(grep -rl --include='*.cpp' -E '"REGION |"Region ' src | wc -l)
a01=$(grep -rl --include='*.cpp' -E 'AppendSimaA01\(' src | grep -v kokudo_records | wc -l)
row "6y" "Places in src/ that write Region / A01 records" "$regions / $a01" "1 / 1" \
  "$(if [[ $regions -eq 1 && $a01 -eq 1 ]]; then echo met; else echo "not met"; fi)"
