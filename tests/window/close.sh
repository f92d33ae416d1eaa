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
say "PASS"
