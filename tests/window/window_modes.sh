#!/bin/bash
# The window under a real window manager: resized, the field takes the largest
# whole-number scale that fits, centred in black; Alt+Enter and F11 switch full
# screen on and off and give the window its size back; what the player left is
# what the next run opens with, unless the command line says otherwise.
set -euo pipefail
game=${1:?usage: window_modes.sh GAME PRESS_KEY}
press_key=${2:?usage: window_modes.sh GAME PRESS_KEY}
source "$(dirname "$0")/lib.sh"

BLACK="0 0 0"
settings=$XDG_CONFIG_HOME/vantorix/settings

# field_at X0 Y0 X1 Y1: the field fills that rectangle of the window, and
# the pixels just beyond its edges are black (where there is room for them).
field_at() {
    local x0=$1 y0=$2 x1=$3 y1=$4
    local mx=$(((x0 + x1) / 2)) my=$(((y0 + y1) / 2))
    local seen expected
    seen=$(colours "$x0,$my" "$x1,$my" "$mx,$y1" "$((x0 - 1)),$my" "$((x1 + 1)),$my" \
        "$mx,$((y0 - 1))" "$mx,$((y1 + 1))") || return 1
    SEEN=$(echo $seen)
    expected="$FIELD_BLUE $FIELD_BLUE $FIELD_BLUE"
    ((x0 > 0)) && expected+=" $BLACK $BLACK" || expected+=" $(echo "$seen" | sed -n 4,5p)"
    ((y0 > 0)) && expected+=" $BLACK $BLACK" || expected+=" $(echo "$seen" | sed -n 6,7p)"
    [[ $SEEN == "$(echo $expected)" ]]
}

size_is() {
    SEEN=$(window_size)
    [[ $SEEN == "$1" ]]
}

# quit_with_x: X on the title screen, held as a finger holds it (keycode 53).
quit_with_x() {
    focus_game
    "$press_key" 53 300
    wait_game_exit 10
    ((GAME_STATUS == 0)) || fail "the game exited with status $GAME_STATUS"
}

start_xvfb
start_wm

say "first run: the window is the field's own size, and the desktop knows it as vantorix"
start_game "$game"
poll 5 "264x165" size_is 264x165
xprop -id "$WID" WM_CLASS | grep -q '"vantorix", "vantorix"' || fail "WM_CLASS is $(xprop -id "$WID" WM_CLASS)"

say "resized to 800x600: scale 3, centred"
xdotool windowsize "$WID" 800 600
poll 5 "the field at 3x, centred" field_at 4 52 795 546

for key in F11 alt+Return; do
    say "$key: full screen at scale 3 on 1024x768, then back"
    focus_game
    xdotool key "$key"
    poll 5 "a full screen window" size_is 1024x768
    poll 5 "the field at 3x, centred on the screen" field_at 116 136 907 630
    focus_game
    xdotool key "$key"
    poll 5 "the window's earlier size" size_is 800x600
    poll 5 "the field at 3x in the window again" field_at 4 52 795 546
done
quit_with_x
grep -qx 'scale = 3' "$settings" && grep -qx 'fullscreen = no' "$settings" ||
    fail "the settings kept are: $(cat "$settings")"

say "the next run opens as the player left it, and leaves full screen for the one after"
start_game "$game"
poll 5 "792x495" size_is 792x495
focus_game
xdotool key F11
poll 5 "a full screen window" size_is 1024x768
quit_with_x
start_game "$game"
poll 5 "a full screen window" size_is 1024x768
stop_game

say "the command line wins for its run, and a scale too large for the screen is cut down"
start_game "$game" --window --scale 2
poll 5 "528x330" size_is 528x330
stop_game
start_game "$game" --scale=9 --window
poll 5 "the largest scale that fits the screen" size_is 792x495
stop_game
grep -qx 'fullscreen = yes' "$settings" || fail "a run the player did not change rewrote the settings"

say "a settings file nobody can read: one line, and the defaults"
printf 'scale = huge\n' >"$settings"
start_game "$game"
poll 5 "264x165" size_is 264x165
stop_game
[[ $(wc -l <"$WORK/game.err") -eq 1 ]] && grep -q "ignoring the settings in $settings" "$WORK/game.err" ||
    fail "expected one line about the settings, got: $(cat "$WORK/game.err")"

say "settings that cannot be saved: one line, and the game ends as usual"
touch "$WORK/not-a-folder"
XDG_CONFIG_HOME=$WORK/not-a-folder start_game "$game"
focus_game
xdotool key F11
poll 5 "a full screen window" size_is 1024x768
quit_with_x
[[ $(wc -l <"$WORK/game.err") -eq 1 ]] && grep -q "cannot save the settings" "$WORK/game.err" ||
    fail "expected one line about saving, got: $(cat "$WORK/game.err")"
say "PASS"
