#!/bin/bash
# The window manager's close command ends the program, with success.
set -euo pipefail
game=${1:?usage: close.sh GAME SEND_CLOSE}
send_close=${2:?usage: close.sh GAME SEND_CLOSE}
source "$(dirname "$0")/lib.sh"

start_xvfb
start_game "$game"
poll 10 "the title screen painted" title_painted

say "closing the window ends the game"
"$send_close" "$WID" || fail "send-close could not send the close request"
wait_game_exit 5
((GAME_STATUS == 0)) || fail "the game exited with status $GAME_STATUS"
say "the game exited with status 0"

say "SIGTERM, as at log-out, ends a game that has sat still for a while at once"
start_game "$game"
poll 10 "the title screen painted" title_painted
sleep 2
sent_at=$EPOCHREALTIME
kill -TERM "$GAME_PID"
wait_game_exit 5
took=$(awk -v a="$sent_at" -v b="$EPOCHREALTIME" 'BEGIN { printf "%d", (b - a) * 1000 }')
((GAME_STATUS == 0)) || fail "the game exited with status $GAME_STATUS"
# It waits on the X connection, and the signal ends that wait; 500 ms is far
# more than it takes, and less than SDL's while between looks at a still display.
((took < 500)) || fail "the game took $took ms to end after SIGTERM"
say "the game exited with status 0, $took ms after SIGTERM"
say "PASS"
