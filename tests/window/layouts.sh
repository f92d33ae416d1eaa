#!/bin/bash
# Z and X on the keyboards players have. The keys are pressed by their place
# (X keycodes through XTest), as a finger presses them: on AZERTY and QWERTZ the
# key labelled Z is elsewhere, on Russian and Greek the keys under Z and X type
# no Latin letter at all and are taken by their place.
set -euo pipefail
game=${1:?usage: layouts.sh GAME PRESS_KEY}
press_key=${2:?usage: layouts.sh GAME PRESS_KEY}
source "$(dirname "$0")/lib.sh"

# The evdev keycodes of the keys labelled Z (by layout) and X.
declare -A z_key=([us]=52 [fr]=25 [de]=29 [ru]=52 [gr]=52)
x_key=53

in_play() {
    snap play || return 1
    ship_shown play
}

start_xvfb
for layout in us fr de ru gr; do
    setxkbmap "$layout"
    say "$layout: Z starts a game"
    start_game "$game"
    focus_game
    "$press_key" "${z_key[$layout]}" 300
    poll 10 "the ship in play" in_play
    stop_game

    say "$layout: X quits between games"
    start_game "$game"
    focus_game
    "$press_key" "$x_key" 300
    wait_game_exit 10
    ((GAME_STATUS == 0)) || fail "the game exited with status $GAME_STATUS"
done
say "PASS"
