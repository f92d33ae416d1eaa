#!/bin/bash
# Builds the .deb as `make package` does, into OUTDIR, for the package tests.
set -euo pipefail
build=${1:?usage: deb_build.sh BUILD OUTDIR}
out=${2:?usage: deb_build.sh BUILD OUTDIR}

rm -rf "$out"
# Only the default component, whose manifest has a name of its own: the build's
# install_manifest.txt may be what uninstalls a real install.
cpack --config "$build/CPackConfig.cmake" -B "$out" \
    -D "CPACK_INSTALL_CMAKE_PROJECTS=$build;vantorix;Unspecified;/"
debs=("$out"/*.deb)
[[ -f ${debs[0]} ]] || { echo "FAIL: cpack made no .deb in $out" >&2; exit 1; }
echo "-- made ${debs[*]}"
