#!/usr/bin/env bash
# Makes the Debian package from a build tree, unpacks it into a scratch root
# and checks that it holds what an installed Parquill needs.
#
#   check_package.sh CPACK CPACK_CONFIG SCRATCH VERSION WINDOW(yes|no) DESKTOP_FILE
#
# Exits 77 (skipped) when dpkg-deb is missing, 1 on the first fault found.
set -euo pipefail

if [[ $# -ne 6 ]]; then
  echo "usage: $0 CPACK CPACK_CONFIG SCRATCH VERSION WINDOW(yes|no) DESKTOP_FILE" >&2
  exit 2
fi
cpack=$1 config=$2 scratch=$3 version=$4 window=$5 desktop_source=$6

if ! command -v dpkg-deb >/dev/null; then
  echo "SKIPPED: dpkg-deb is not installed (apt-get install dpkg-dev), no package to check"
  exit 77
fi

faults=0
fault() {
  echo "FAULT: $*" >&2
  faults=$((faults + 1))
}
require_file() {
  [[ -f "$root/$1" && -s "$root/$1" ]] || fault "the package has no /$1"
}
require_absent() {
  [[ ! -e "$root/$1" ]] || fault "the package has /$1, which it should not"
}

rm -rf "$scratch"
mkdir -p "$scratch"
root=$scratch/root

# The package, made from what the build tree installs.
if ! "$cpack" -G DEB --config "$config" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  echo "FAULT: cpack failed" >&2
  exit 1
fi
shopt -s nullglob
debs=("$scratch"/out/parquill_*.deb)
if [[ ${#debs[@]} -ne 1 ]]; then
  cat "$scratch/cpack.log" >&2
  echo "FAULT: expected one parquill_*.deb, found ${#debs[@]}" >&2
  exit 1
fi
deb=${debs[0]}
echo "package: $deb"

# Its control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == parquill ]] || fault "Package is '$(field Package)', not parquill"
[[ "$(field Version)" == "$version" ]] || fault "Version is '$(field Version)', not $version"
[[ "$(field Section)" == graphics ]] || fault "Section is '$(field Section)', not graphics"
[[ -n "$(field Maintainer)" ]] || fault "no Maintainer"
[[ -n "$(field Description)" ]] || fault "no Description"
depends=$(field Depends)
echo "Depends: $depends"
[[ "$depends" == *libc6* ]] || fault "Depends does not name libc6: were the runtime libraries found?"
[[ "$depends" == *libgeos-c1v5* ]] || fault "Depends does not name libgeos-c1v5 (lots from lines)"
[[ "$depends" == *libzip4* ]] || fault "Depends does not name libzip4 (地図XML ZIPs)"
[[ "$depends" == *libxml2* ]] || fault "Depends does not name libxml2 (地図XML)"
if grep -Eq -- '-dev([ ,(]|$)' <<<"$depends"; then
  fault "Depends names a development package: $depends"
fi
if [[ $window == yes && "$depends" != *qt6-translations-l10n* ]]; then
  fault "Depends does not name qt6-translations-l10n (Qt's dialogs in Japanese)"
fi
if [[ $window == yes && "$depends" != *libqt6widgets6* ]]; then
  fault "Depends does not name libqt6widgets6 though the window is packaged"
fi

# Its files.
dpkg-deb -x "$deb" "$root"
while IFS= read -r path; do
  case $path in
    ./usr/bin/* | ./usr/share/*) ;;
    *) fault "unexpected file in the package: $path" ;;
  esac
done < <(cd "$root" && find . -type f)

require_file usr/bin/parquill-cli
if [[ -x "$root/usr/bin/parquill-cli" ]]; then
  printed=$("$root/usr/bin/parquill-cli" --version) || fault "parquill-cli --version failed"
  [[ "$printed" == "parquill-cli $version" ]] || fault "parquill-cli --version printed '$printed'"
else
  fault "/usr/bin/parquill-cli is not executable"
fi

manual=usr/share/man/man1/parquill-cli.1.gz
require_file "$manual"
if [[ -f "$root/$manual" ]]; then
  page=$(gzip -dc "$root/$manual") || fault "the manual page does not decompress"
  [[ "$page" == *".TH PARQUILL-CLI 1"* ]] || fault "the manual page has no title line"
  [[ "$page" == *"Parquill $version"* ]] || fault "the manual page does not carry version $version"
  [[ "$page" != *@*@* ]] || fault "the manual page has an unfilled @...@ placeholder"
  if command -v man >/dev/null; then
    shown=$(MANWIDTH=80 man -l "$root/$manual" 2>"$scratch/man.err" | cat) ||
      fault "man -l cannot show the manual page"
    [[ "$shown" == *"EXIT STATUS"* && "$shown" == *convert* ]] ||
      fault "man -l shows an incomplete manual page"
  fi
fi

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop_source" || fault "the desktop entry does not validate"
else
  echo "note: desktop-file-validate is not installed; the desktop entry is not validated"
fi

if [[ $window == yes ]]; then
  require_file usr/bin/parquill
  [[ ! -f "$root/usr/bin/parquill" || -x "$root/usr/bin/parquill" ]] ||
    fault "/usr/bin/parquill is not executable"
  require_file usr/share/applications/parquill.desktop
  if command -v desktop-file-validate >/dev/null &&
    [[ -f "$root/usr/share/applications/parquill.desktop" ]]; then
    desktop-file-validate "$root/usr/share/applications/parquill.desktop" ||
      fault "the installed desktop entry does not validate"
  fi
  for size in 16 32 48 64 128 256; do
    require_file "usr/share/icons/hicolor/${size}x${size}/apps/parquill.png"
  done
  require_file usr/share/icons/hicolor/scalable/apps/parquill.svg
else
  echo "note: no window in this build: checking that no menu entry points to a missing program"
  require_absent usr/bin/parquill
  require_absent usr/share/applications/parquill.desktop
fi

if [[ $faults -ne 0 ]]; then
  echo "$faults fault(s) in $deb" >&2
  exit 1
fi
echo "package contents are complete"
