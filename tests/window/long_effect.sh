#!/bin/bash
# A game-over effect of 100 seconds, heard through SDL's disk audio, holds the
# game for its whole length: X, pressed as it starts, is handled only once it
# has ended. No music and no other effect, so the sound heard is that one.
set -euo pipefail
game=${1:?usage: long_effect.sh GAME MAKE_TEST_WAVE}
make_wave=${2:?usage: long_effect.sh GAME MAKE_TEST_WAVE}
source "$(dirname "$0")/lib.sh"
length=100

start_xvfb
dir="$WORK/game"
mkdir -p "$dir"
cp "$game" "$dir/"
"$make_wave" pcm16 "$length" "$dir/gameover.wav"

start_game_heard "$dir/vantorix"
poll 10 "the title screen painted" title_painted
focus_game
xdotool keydown z
poll 10 "a game under way" eval 'snap play && ship_shown play'
xdotool keyup z
say "nobody shoots, so the wave reaches the ship"
# heard_now: the last quarter of a second was mostly sound.
heard_now() { (($(loud_seconds 44100 | tr -d .) > 15)); }
poll 40 "the game-over effect" heard_now
started=$EPOCHREALTIME
xdotool keydown x
wait_game_exit $((length + 30))
xdotool keyup x
held=$(awk -v a="$started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }')
say "the game was held for $held s; $(loud_seconds) s of the effect were heard"
awk -v h="$held" -v l="$length" 'BEGIN { exit !(h >= l - 3) }' ||
    fail "X was handled after $held s, while the $length s effect still played"
awk -v s="$(loud_seconds)" -v l="$length" 'BEGIN { exit !(s >= 0.8 * l) }' ||
    fail "only $(loud_seconds) s of the effect were heard"
((GAME_STATUS == 0)) || fail "exit status $GAME_STATUS"
say "PASS"
