#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# package_test.sh BUILD_DIR: makes the package of the build, unpacks it into a temporary root,
# validates its menu entry, metadata and MIME data there and tries its launcher on a stand-in
# put in the program's place (the real one would use this machine's network).
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$1/CPackConfig.cmake" -B "$tmp/out" >/dev/null
debs=("$tmp"/out/korvane_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single korvane_*.deb: ${debs[*]}"
deb=${debs[0]}
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $3, $6}'  # for the log
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
