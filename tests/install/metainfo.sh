#!/bin/bash
# The software-centre data passes appstreamcli, which fails on warnings too, and
# its newest release is the version being built.
set -euo pipefail
file=${1:?usage: metainfo.sh FILE VERSION}
version=${2:?usage: metainfo.sh FILE VERSION}
appstreamcli validate --no-net "$file"
newest=$(sed -n 's:.*<release version="\([^"]*\)".*:\1:p' "$file" | head -n1)
[[ $newest == "$version" ]] || { echo "FAIL: the newest release is '$newest', the project is $version" >&2; exit 1; }
echo "-- $file: valid, newest release $newest"
