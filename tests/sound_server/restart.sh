#!/bin/bash
# Through a real PulseAudio server: the title music is heard on its sink, the
# stream says it is a game's, with the game's icon; when the server restarts
# the game says sound is lost, then that it is back, and the music is heard again.
set -euo pipefail
game=${1:?usage: restart.sh GAME}
source "$(dirname "$0")/lib.sh"

start_xvfb
start_pulse
record
start_game "$game"
poll 10 "the title music on the sink" heard_lately

stream=$(game_stream)
for property in 'application.name = "Vantorix"' 'media.role = "game"' 'application.icon_name = "vantorix"'; do
    grep -qF "$property" <<<"$stream" || fail "the stream lacks $property: $stream"
    say "the stream has $property"
done

say "the server restarts"
stop_pulse
poll 5 "the game's line that sound is lost" said "went away"
server_up_heard "the title music on the sink again"
say "the game said: $(tr '\n' '|' <"$WORK/game.err")"
focus_game
tap x
wait_game_exit 5
((GAME_STATUS == 0)) || fail "the game exited with status $GAME_STATUS"
say "PASS"
