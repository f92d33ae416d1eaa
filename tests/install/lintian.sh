#!/bin/bash
# The .deb as Debian's own checker sees it: no error and no warning. Lintian is
# heavy to install, so this runs from `make package-check`, not `make test`.
set -euo pipefail
out=${1:?usage: lintian.sh OUTDIR}
command -v lintian >/dev/null || { echo "FAIL: lintian is not installed (scripts/install-deps package)" >&2; exit 1; }
debs=("$out"/*.deb)
status=0
lintian --pedantic --display-info --tag-display-limit 0 "${debs[@]}" >"$out/lintian.txt" 2>&1 || status=$?
sed 's/^/  | /' "$out/lintian.txt"
if grep -q '^[EW]:' "$out/lintian.txt" || ((status != 0 && status != 2)); then
    echo "FAIL: lintian has errors or warnings (status $status)" >&2
    exit 1
fi
echo "-- lintian: no errors, no warnings"
