#!/bin/bash
# The sound server comes up after the game (a session still starting): the
# game plays silently, says so, then uses the server once it is there.
set -euo pipefail
game=${1:?usage: late_start.sh GAME}
source "$(dirname "$0")/lib.sh"

start_xvfb
start_game "$game"
poll 10 "the title screen painted" title_painted
poll 5 "the game's line that it plays silently" said "no sound device"

server_up_heard "the title music on the sink"
focus_game
tap x
wait_game_exit 5
((GAME_STATUS == 0)) || fail "the game exited with status $GAME_STATUS"
say "PASS"
