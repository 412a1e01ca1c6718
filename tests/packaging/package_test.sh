#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# package_test.sh BUILD_DIR: makes the package of the build and has lintian judge it; builds it
# again from a copy of the sources elsewhere, which must give the same bytes; unpacks it into a
# temporary root, validates its documents, menu entry, metadata and MIME data there and tries
# its launcher on a stand-in put in the program's place (the real one would use this machine's
# network).
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$1/CPackConfig.cmake" -B "$tmp/out" >/dev/null
debs=("$tmp"/out/korvane_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single korvane_*.deb: ${debs[*]}"
deb=${debs[0]}
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $3, $6}'  # for the log
lintian --fail-on error,warning "$deb" || fail "lintian"

# The second build: the same commit and files, relative layout and settings, in another place
# at another time.
build=$(realpath "$1")
setting() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
source=$(setting CMAKE_HOME_DIRECTORY)
copy=$tmp/copy/src
git clone -q --shared "$source" "$copy"
git -C "$source" ls-files -z | (cd "$source" && xargs -0 tar c) | tar x -m -C "$copy"  # times of now, as a fresh checkout has
rebuilt=$copy/$(realpath --relative-to="$source" "$build")
cmake -S "$copy" -B "$rebuilt" -G "$(setting CMAKE_GENERATOR)" >/dev/null \
  -DCMAKE_BUILD_TYPE="$(setting CMAKE_BUILD_TYPE)" -DKORVANE_CONTACT_ADDRESS="$(setting KORVANE_CONTACT_ADDRESS)"
cmake --build "$rebuilt" -j2 --target korvane korvane_icons korvane_docs >/dev/null
cpack --config "$rebuilt/CPackConfig.cmake" -B "$tmp/again" >/dev/null
cmp "$deb" "$tmp"/again/korvane_*.deb || fail "a second build gives another package"
for dependency in libqt6widgets6 qt6-qpa-plugins fonts-ipafont-gothic xdg-utils; do
  dpkg-deb -f "$deb" Depends | grep -qw "$dependency" || fail "no dependency on $dependency"
done

root=$tmp/root
share=$root/usr/share
dpkg-deb -x "$deb" "$root"
for size in 16 32 48 64 128 256; do
  file "$share/icons/hicolor/${size}x${size}/apps/korvane.png" | grep -q "PNG image data, $size x $size," ||
    fail "no ${size}-pixel icon"
done
desktop-file-validate "$share/applications/org.example.Korvane.desktop"
appstreamcli validate --no-net "$share/metainfo/org.example.Korvane.metainfo.xml"

# The documents: the licence's own text; this version on top of the changelog; manual pages
# that man formats without a warning and that describe every option the program takes.
doc=$share/doc/korvane
licence=$(sed -n '/^Copyright/,$p' "$source/LICENSE" | tail -n +3)
[ "$(sed -n '/^License: Expat$/,$p' "$doc/copyright" | tail -n +2 | sed 's/^ //; s/^\.$//')" = "$licence" ] ||
  fail "the copyright file does not hold LICENSE's text"
version=$(dpkg-deb -f "$deb" Version)
zcat "$doc/changelog.gz" | head -1 | grep -qF "korvane ($version) " || fail "the changelog starts elsewhere"
options=$("$root/usr/libexec/korvane/korvane" --help | grep -o -- '--[a-z]*' | sort -u)
for page in man1 ja/man1; do
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/$page/korvane.1.gz" 2>&1) ||
    fail "man cannot format $page"
  ! grep -q "warning" <<<"$text" || fail "man warns about $page"
  for option in $options; do grep -q -- "$option" <<<"$text" || fail "$page lacks $option"; done
done

# GNOME's way of typing files, by name first: the help file is HTML, other .hlp files are not.
XDG_DATA_DIRS=$share:/usr/share update-mime-database "$share/mime"
mkdir -p "$tmp/empty"
for expected in KvHelp.hlp=text/html other.hlp=application/winhlp; do
  cp "$share/korvane/KvHelp.hlp" "$tmp/${expected%%=*}"
  got=$(XDG_CURRENT_DESKTOP=GNOME XDG_DATA_HOME=$tmp/empty XDG_DATA_DIRS=$share:/usr/share \
        xdg-mime query filetype "$tmp/${expected%%=*}")
  [ "$got" = "${expected#*=}" ] || fail "${expected%%=*} is typed $got"
done

# The launcher: folder made, help file placed unless one is there, program run inside.
printf '#!/bin/sh\npwd > "%s/ran"\n' "$tmp" > "$root/usr/libexec/korvane/korvane"
launch() {  # XDG_DATA_HOME (or empty), the folder expected, the help file expected there
  HOME=$tmp/home XDG_DATA_HOME=$1 "$root/usr/bin/korvane"
  [ "$(cat "$tmp/ran")" = "$2" ] || fail "the program ran in $(cat "$tmp/ran"), not $2"
  cmp -s "$2/KvHelp.hlp" "$3" || fail "the help file in $2 is not the one expected"
}
launch "" "$tmp/home/.local/share/korvane" "$share/korvane/KvHelp.hlp"
mkdir -p "$tmp/data/korvane" && echo mine | tee "$tmp/mine" > "$tmp/data/korvane/KvHelp.hlp"
launch "$tmp/data" "$tmp/data/korvane" "$tmp/mine"
echo "package checked"
