#!/bin/bash
# shellcheck disable=SC2086 # colours and rectangles are "r g b" words, split on purpose
# Z on the title screen starts a game: the ship appears in its lane and the
# help line changes. Holding X in play turns the field white until X is let go.
set -euo pipefail
game=${1:?usage: start_and_flash.sh GAME}
source "$(dirname "$0")/lib.sh"

start_xvfb
start_game "$game"

poll 10 "the title screen painted" title_painted
(($(count_near title $SHIP_AREA $SHIP_CYAN 24) == 0)) || fail "a ship on the title screen"
help_line title >"$WORK/title-help"
[[ -s $WORK/title-help ]] || fail "no help line on the title screen"

say "Z starts a game"
focus_game
tap z
ship_appeared() { snap play && ship_shown play; }
poll 10 "the ship in its start lane" ship_appeared
# Nothing else is cyan near the left edge this early, so the ship is in no other lane.
n=$(($(count_near play 0 0 45 164 $SHIP_CYAN 24) - $(count_near play $SHIP_AREA $SHIP_CYAN 24)))
((n == 0)) || fail "$n cyan pixels by the left edge outside the ship's start place"

say "the help line has changed"
help_line play >"$WORK/play-help"
[[ -s $WORK/play-help ]] || fail "no help line in play"
! cmp -s "$WORK/title-help" "$WORK/play-help" || fail "the help line is still the title screen's"

say "holding X turns the field white"
xdotool keydown x
field_white() { snap flash && mostly flash $FLASH_WHITE; }
poll 10 "most of the field RGB(${FLASH_WHITE// /,})" field_white
xdotool keyup x

say "letting X go turns it back"
field_blue() { snap back && mostly back $FIELD_BLUE; }
poll 10 "most of the field RGB(${FIELD_BLUE// /,}) again" field_blue

game_running || fail "the game ended"
say "PASS"
