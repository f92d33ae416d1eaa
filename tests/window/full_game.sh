#!/bin/bash
# shellcheck disable=SC2086 # colours and rectangles are "r g b" words, split on purpose
# A whole game as a player sees it: start, let the wave reach the ship, the
# game-over screen with the title screen's help line, a second game, then quit.
set -euo pipefail
game=${1:?usage: full_game.sh GAME}
source "$(dirname "$0")/lib.sh"

start_xvfb
start_game "$game"
poll 10 "the title screen painted" title_painted
help_line title >"$WORK/title-help"
focus_game

for round in 1 2; do
    # Held until the game starts: a tap while the game-over jingle plays is
    # handled only after it, press and release together, and starts nothing.
    say "game $round: Z starts it"
    xdotool keydown z
    poll 10 "the play screen" play_started
    xdotool keyup z
    say "game $round: nobody shoots, so the wave reaches the ship"
    poll 30 "the game-over screen" back_in_attract
    # The ship stays where it was lost, showing the skull, in cyan.
    (($(count_near over 0 0 45 164 $SHIP_CYAN 24) > 0)) || fail "no ship left on the game-over screen"
done

say "X on the game-over screen quits"
xdotool keydown x
wait_game_exit 10
xdotool keyup x
((GAME_STATUS == 0)) || fail "the game exited with status $GAME_STATUS"
say "PASS"
