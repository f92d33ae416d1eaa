#!/bin/bash
# The .deb built by deb_build.sh: its control fields, its file list, and the
# game unpacked from it, complete and running from anywhere.
set -euo pipefail
usage="usage: deb.sh OUTDIR BUILD SOURCE ICON_SOURCE VERSION"
out=${1:?$usage}
build=${2:?$usage}
source_dir=${3:?$usage}
icon_source=${4:?$usage}
version=${5:?$usage}
source "$(dirname "$0")/lib.sh"

arch=$(dpkg --print-architecture)
deb=$out/vantorix_${version}_${arch}.deb
[[ -f $deb ]] || fail "no $deb; there is: $(ls "$out")"

field() { dpkg-deb --field "$deb" "$1"; }
expect_field() {
    [[ $(field "$1") == "$2" ]] || fail "the $1 field is '$(field "$1")', not '$2'"
}
expect_field Package vantorix
expect_field Version "$version"
expect_field Architecture "$arch"
expect_field Section games
name_and_address='^[^<]+ <[^@>]+@[^>]+>$'
[[ $(field Maintainer) =~ $name_and_address ]] ||
    fail "the Maintainer field '$(field Maintainer)' is not a name and an address"
[[ -n $(field Description | head -n1) && $(field Description | wc -l) -gt 1 ]] ||
    fail "the Description lacks a summary or a long description"
say "Package, Version, Architecture, Section, Maintainer and Description are right"

# Depends: package names, alternatives included, without versions. FluidSynth
# is opened by the program itself, so no library list names it.
depends=$(field Depends | tr ',|' '\n' | awk '{ print $1 }')
for pkg in libfluidsynth3 timgm6mb-soundfont fonts-symbola fonts-ipafont-gothic; do
    grep -qx "$pkg" <<<"$depends" || fail "Depends lacks $pkg: $(field Depends)"
done

dpkg-deb -x "$deb" "$WORK/root"
root=$WORK/root/usr
# Every library the program asks for must come with a package Depends names.
for soname in $(objdump -p "$root/lib/vantorix/vantorix" | awk '$1 == "NEEDED" { print $2 }'); do
    owners=$(dpkg-query -S "*/$soname" 2>/dev/null | sed 's/[:,].*//' | sort -u) || true
    [[ -n $owners ]] || fail "no installed package has $soname"
    grep -qxF -f <(echo "$owners") <<<"$depends" ||
        fail "Depends names none of ${owners//$'\n'/ } for $soname: $(field Depends)"
done
say "Depends names FluidSynth, the SoundFont, the two fonts and a package for every library"

# The file list: everything under /usr and owned by root, the link kept a link,
# and the command in /usr/games, as Debian keeps games.
contents=$(dpkg-deb --contents "$deb")
awk '$2 != "root/root" || $6 !~ /^\.\/usr\// { bad = 1; print } END { exit bad }' <<<"$contents" >&2 ||
    fail "the package has files outside /usr or not owned by root"
grep -q ' \./usr/games/vantorix -> \.\./lib/vantorix/vantorix$' <<<"$contents" ||
    fail "the package has no link usr/games/vantorix -> ../lib/vantorix/vantorix"
listed=(lib/vantorix/vantorix "${MEDIA[@]/#/lib/vantorix/}" "share/applications/$DESKTOP_FILE"
    "share/metainfo/$METAINFO_FILE" share/doc/vantorix/copyright share/man/man6/vantorix.6.gz)
for size in "${ICON_SIZES[@]}"; do
    listed+=("share/icons/hicolor/${size}x${size}/apps/vantorix.png")
done
for path in "${listed[@]}"; do
    grep -q " \./usr/$path\$" <<<"$contents" || fail "the package does not list usr/$path"
done
say "the package lists the program, media, link, desktop entry, icons, metainfo and manual"

"$icon_source" >"$WORK/icon.ppm"
check_tree "$root" "$build" "$source_dir" "$WORK/icon.ppm" games
play_and_quit "$root" games
say "PASS"
