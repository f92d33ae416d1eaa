#!/bin/bash
# X on the title screen ends the program, with success.
set -euo pipefail
game=${1:?usage: quit_with_x.sh GAME}
source "$(dirname "$0")/lib.sh"

start_xvfb
start_game "$game"
poll 10 "the title screen painted" title_painted

say "X on the title screen quits"
focus_game
tap x
wait_game_exit 10
((GAME_STATUS == 0)) || fail "the game exited with status $GAME_STATUS"
say "the game exited with status 0"
say "PASS"
