#!/bin/bash
# On a desktop set to 192 dpi the window is twice the size, and its text is
# rendered at that size rather than blown up from the small one.
set -euo pipefail
game=${1:?usage: scale_two.sh GAME}
source "$(dirname "$0")/lib.sh"

start_xvfb
echo "Xft.dpi: 192" | xrdb -merge
start_game "$game"

size=$(xwininfo -id "$WID" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
say "the window is $size"
[[ $size == 528x330 ]] || fail "expected 528x330 at 192 dpi, got $size"

field_painted() {
    snap big || return 1
    SEEN="RGB($(pixel big 10 120 | tr ' ' ,)) at (10,120)"
    [[ $(pixel big 10 120) == "$FIELD_BLUE" ]]
}
poll 10 "the field painted" field_painted

# Blown up from the small picture, every aligned 2x2 block would be one colour.
# Rendered at the large size, the edges of letters cut through blocks.
split=$(awk '$2 >= 64 && $2 < 130 {
        block = int($1 / 2) "," int($2 / 2)
        if (!(block in first)) first[block] = $3 "," $4 "," $5
        else if (first[block] != $3 "," $4 "," $5) mixed[block] = 1
    } END { for (b in mixed) n++; print n + 0 }' "$WORK/big.txt")
say "$split blocks of the title's rows hold more than one colour"
((split > 50)) || fail "the title looks scaled up from the small picture"
say "PASS"
