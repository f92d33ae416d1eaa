#!/bin/bash
# The menu entry passes desktop-file-validate without a single remark.
set -euo pipefail
file=${1:?usage: desktop_entry.sh FILE}
remarks=$(desktop-file-validate "$file" 2>&1) || { echo "$remarks" >&2; echo "FAIL: $file is invalid" >&2; exit 1; }
[[ -z $remarks ]] || { echo "$remarks" >&2; echo "FAIL: desktop-file-validate has remarks on $file" >&2; exit 1; }
echo "-- $file: valid, no remarks"
