#!/bin/bash
# shellcheck disable=SC2086 # colours and rectangles are "r g b" words, split on purpose
# The player's own settings in the real window: a key bound in the settings
# file starts the game where Z no longer does; the dim and the off flash; M
# silences the music (heard through SDL's disk audio) and is remembered; a game
# pauses when the window loses the focus and goes on when it gets it back.
set -euo pipefail
game=${1:?usage: player_settings.sh GAME}
source "$(dirname "$0")/lib.sh"

settings=$XDG_CONFIG_HOME/vantorix/settings
mkdir -p "$(dirname "$settings")"
ship_appeared() { snap play && ship_shown play; }

# start_play: Z (or the given key) starts a game and the ship shows.
start_play() {
    poll 10 "the title screen painted" title_painted
    focus_game
    tap "${1:-z}"
    poll 10 "the ship in its start lane" ship_appeared
}

# field_luminance NAME: the relative luminance of the colour most of the field has.
field_luminance() {
    awk '{ n[$3 " " $4 " " $5]++ } END { for (c in n) if (n[c] > best) { best = n[c]; top = c } print top }' \
        "$WORK/$1.txt" | awk '
        function lin(c) { c /= 255; return c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ^ 2.4 }
        { printf "%.3f %s,%s,%s\n", 0.2126 * lin($1) + 0.7152 * lin($2) + 0.0722 * lin($3), $1, $2, $3 }'
}

start_xvfb
start_wm

say "fire bound to space: Z no longer starts a game, space does"
printf 'fire = space\n' >"$settings"
start_game "$game"
poll 10 "the title screen painted" title_painted
focus_game
tap z
sleep 1
snap still
! ship_shown still || fail "Z started a game though fire is bound to space"
start_play space
stop_game
rm "$settings"

say "the dim flash: a change of colour under a tenth of the luminance range"
start_game "$game" --flash dim
start_play
read -r blue _ < <(snap before && field_luminance before)
xdotool keydown x
sleep 0.5
snap dim
xdotool keyup x
read -r dim colour < <(field_luminance dim)
say "the field's luminance $blue, flashed $dim (RGB($colour))"
awk -v a="$blue" -v b="$dim" 'BEGIN { d = b - a; exit !(d > 0.02 && d < 0.1) }' ||
    fail "the dim flash changes the luminance from $blue to $dim"
stop_game

say "the flash off: the field keeps its blue while X is held"
start_game "$game" --flash off
start_play
xdotool keydown x
sleep 0.5
snap off
xdotool keyup x
mostly off $FIELD_BLUE || fail "the field under a High with the flash off: $SEEN blue"
stop_game

say "M silences the music, and the next run remembers it"
rm -f "$settings"
start_game_heard "$game"
poll 10 "the title screen painted" title_painted
sleep 2
LOUD=$(loud_seconds 176400)
awk -v l="$LOUD" 'BEGIN { exit !(l >= 0.3) }' || fail "the title music: heard for $LOUD s of the last second"
focus_game
tap m
sleep 1.5
LOUD=$(loud_seconds 176400)
[[ $LOUD == 0.00 ]] || fail "after M the music still sounds for $LOUD s of the last second"
say "heard before M, silent after"
kill "$GAME_PID"
wait_game_exit 10
grep -qx 'music = no' "$settings" || fail "the settings kept are: $(cat "$settings")"

say "losing the focus pauses a game, getting it back lets it go on"
start_game "$game"
start_play
xmessage -name other "another program" &
other=$!
poll 10 "the game paused" eval 'snap paused && ! mostly paused $FIELD_BLUE'
sleep 1
snap paused-later
cmp -s "$WORK/paused.txt" "$WORK/paused-later.txt" || fail "the field moved while paused"
kill "$other"
focus_game
poll 10 "the game going on" eval 'snap going && mostly going $FIELD_BLUE'
sleep 1.5
snap gone-on
! cmp -s "$WORK/going.txt" "$WORK/gone-on.txt" || fail "nothing moved after the pause"
say "PASS"
