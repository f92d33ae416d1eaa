#!/bin/bash
# shellcheck disable=SC2086 # colours and rectangles are "r g b" words, split on purpose
# The title screen as it first appears: the window's size and place, and the
# colours of the field, the high score, the face and the blinking prompt.
set -euo pipefail
game=${1:?usage: first_screen.sh GAME SCREENSHOT}
shot=${2:?usage: first_screen.sh GAME SCREENSHOT}
source "$(dirname "$0")/lib.sh"

start_xvfb
start_game "$game"

say "the game shows one window"
windows=$(xdotool search --onlyvisible --pid "$GAME_PID" | wc -l)
((windows == 1)) || fail "expected one visible window, found $windows"

say "its client area is 264 x 165"
info=$(xwininfo -id "$WID")
width=$(awk '/^ *Width:/ { print $2 }' <<<"$info")
height=$(awk '/^ *Height:/ { print $2 }' <<<"$info")
[[ $width == 264 && $height == 165 ]] || fail "client area is $width x $height"

say "it is centred on the screen"
left=$(awk '/Absolute upper-left X:/ { print $4 }' <<<"$info")
top=$(awk '/Absolute upper-left Y:/ { print $4 }' <<<"$info")
root=$(xwininfo -root)
screen_w=$(awk '/^ *Width:/ { print $2 }' <<<"$root")
screen_h=$(awk '/^ *Height:/ { print $2 }' <<<"$root")
# Twice the gap on each side, so an odd leftover is not rounded away.
dx=$((2 * left + width - screen_w))
dy=$((2 * top + height - screen_h))
((dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2)) ||
    fail "window at +$left+$top is not centred on the ${screen_w}x${screen_h} screen"

say "it can be made larger, never smaller"
hints=$(xprop -id "$WID" WM_NORMAL_HINTS)
grep -q 'minimum size: 264 by 165' <<<"$hints" || fail "no 264 x 165 minimum size: $hints"
! grep -q 'maximum size' <<<"$hints" || fail "the window has a largest size: $hints"

poll 10 "the field painted RGB(${FIELD_BLUE// /,})" title_painted

say "the field is RGB(${FIELD_BLUE// /,}) away from the text"
for point in "5 60" "250 100" "130 160" "250 140" "200 150" "5 5"; do
        colour=$(pixel title $point)
    [[ $colour == "$FIELD_BLUE" ]] || fail "field at ($point) is RGB(${colour// /,})"
done

say "the high score is written in RGB(${TEXT_BLUE// /,}) at the top right"
n=$(count_near title 150 0 257 16 $TEXT_BLUE 16)
((n >= 20)) || fail "only $n text pixels near the top right"
n=$(count_near title 0 0 119 16 $TEXT_BLUE 16)
((n == 0)) || fail "$n text pixels at the top left, where nothing is written"

say "the face in the middle is RGB(${FACE_NAVY// /,})"
n=$(count_near title 100 50 164 120 $FACE_NAVY 8)
((n >= 500)) || fail "only $n navy pixels in the middle"

say "no ship before a game starts"
n=$(count_near title $SHIP_AREA $SHIP_CYAN 24)
((n == 0)) || fail "$n cyan pixels where the ship would be"

# Only the prompt is written across these rows, between the face and the help line.
prompt_shown() { snap p && (($(count_near p 0 130 263 145 $TEXT_BLUE 16) > 0)); }
prompt_hidden() { snap p && (($(count_near p 0 130 263 145 $TEXT_BLUE 16) == 0)); }
poll 10 "the prompt shown" prompt_shown
cp "$WORK/p.png" "$shot"
say "saved the screen to $shot"
poll 10 "the prompt hidden" prompt_hidden
poll 10 "the prompt shown again" prompt_shown

say "PASS"
