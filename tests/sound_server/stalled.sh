#!/bin/bash
# A stalled sound server (its sink suspended: it takes no samples) holds the
# game neither when its window is closed nor when X quits from the title screen.
set -euo pipefail
game=${1:?usage: stalled.sh GAME SEND_CLOSE}
send_close=${2:?usage: stalled.sh GAME SEND_CLOSE}
source "$(dirname "$0")/lib.sh"

# stalled_then ACTION...: a game whose sink is suspended under its music; ACTION
# ends it within 2 s.
stalled_then() {
    start_game "$game"
    poll 10 "the title music on the sink" heard_lately
    pactl suspend-sink "$SINK" 1
    sleep 1
    local started=$EPOCHREALTIME
    "$@"
    wait_game_exit 2
    say "ended $(awk -v a="$started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }') s after: $*"
    ((GAME_STATUS == 0)) || fail "the game exited with status $GAME_STATUS"
    pactl suspend-sink "$SINK" 0
}

close_window() { "$send_close" "$WID"; }
quit_with_x() {
    focus_game
    tap x
}

start_xvfb
start_pulse
record
stalled_then close_window
stalled_then quit_with_x
say "PASS"
