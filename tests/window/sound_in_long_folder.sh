#!/bin/bash
# The game installed in a folder whose path passes 600 characters, longer than
# the music player's buffer for a song's path: the title music still plays,
# heard through SDL's disk audio, and nothing is said about it.
set -euo pipefail
game=${1:?usage: sound_in_long_folder.sh GAME}
source "$(dirname "$0")/lib.sh"

start_xvfb
dir="$WORK/$(printf 'a%.0s' {1..200})/$(printf 'b%.0s' {1..200})/with blanks $(printf 'c%.0s' {1..200})"
mkdir -p "$dir"
cp "$game" "$(dirname "$game")"/{title.mid,bgm.mid,start.wav} "$dir/"
say "the song's path is $((${#dir} + 10)) characters long"

start_game_heard "$dir/vantorix"
poll 10 "the title screen painted" title_painted
sleep 3
LOUD=$(loud_seconds 176400)
awk -v l="$LOUD" 'BEGIN { exit !(l >= 0.3) }' || fail "the title music: heard for $LOUD s of the last second only"
say "the title music: heard for $LOUD s of the last second"
kill "$GAME_PID"
wait_game_exit 10
say "PASS"
