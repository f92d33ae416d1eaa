#!/bin/bash
# `cmake --install --strip`, as the README says, into a prefix with a blank and a
# non-ASCII letter in it: the whole game lands there, stripped, its manual names
# that folder, the manifest lists exactly what was installed, the game runs from
# anywhere, and the manifest removes it all again.
set -euo pipefail
build=${1:?usage: installed.sh BUILD SOURCE ICON_SOURCE}
source_dir=${2:?usage: installed.sh BUILD SOURCE ICON_SOURCE}
icon_source=${3:?usage: installed.sh BUILD SOURCE ICON_SOURCE}
source "$(dirname "$0")/lib.sh"

"$icon_source" >"$WORK/icon.ppm"
prefix="$WORK/Vantorix Spiel ü"
# Only the default component, whose manifest has a name of its own: the build's
# install_manifest.txt may be what uninstalls a real install.
manifest=$build/install_manifest_Unspecified.txt
cmake --install "$build" --component Unspecified --strip --prefix "$prefix" >"$WORK/install.log" ||
    { cat "$WORK/install.log" >&2; fail "cmake --install failed"; }
say "installed into $prefix"

diff <(sort "$manifest") <(find "$prefix" ! -type d | sort) >&2 ||
    fail "the install manifest does not list exactly the installed files"
say "the manifest lists every installed file and link"

check_tree "$prefix" "$build" "$source_dir" "$WORK/icon.ppm"
file -L "$prefix/lib/vantorix/vantorix" | grep -q ', stripped' ||
    fail "the program is not stripped: $(file -L "$prefix/lib/vantorix/vantorix")"
zcat "$prefix/share/man/man6/vantorix.6.gz" | grep -qxF ".I $prefix/lib/vantorix/" ||
    fail "the manual page does not name $prefix/lib/vantorix/"
say "the program is stripped and the manual names its folder"
play_and_quit "$prefix"

xargs -d '\n' rm <"$manifest"
left=$(find "$prefix" ! -type d)
[[ -z $left ]] || fail "removing what the manifest lists left: $left"
say "removing what the manifest lists leaves no file behind"
say "PASS"
