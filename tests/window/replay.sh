#!/bin/bash
# shellcheck disable=SC2086 # colours and rectangles are "r g b" words, split on purpose
# A game played in the window is kept: verified without a window, listed, then
# watched again with --replay, which ends on the same score and ends by itself.
#   replay.sh GAME [PICTURE]: PICTURE keeps the watched game's last screen.
set -euo pipefail
game=${1:?usage: replay.sh GAME [PICTURE]}
picture=${2:-}
source "$(dirname "$0")/lib.sh"
kept=$XDG_DATA_HOME/vantorix/replays

# The score at the top left, as pixels.
score_of() { near "$1" 0 0 152 32 255 255 255 200 | md5sum; }
same_score_shown() {
    back_in_attract watched || return 1
    SEEN="another score"
    [[ $(score_of watched) == "$(score_of played)" ]]
}

start_xvfb
start_game "$game"
poll 10 "the title screen painted" title_painted
help_line title >"$WORK/title-help"
focus_game
say "a game: Z held for three seconds fires along the middle lane"
xdotool keydown z
poll 10 "the play screen" play_started
sleep 3
xdotool keyup z
poll 40 "the game-over screen" back_in_attract played
# Held: a tap during the game-over jingle would come up with its press.
xdotool keydown x
wait_game_exit 10
xdotool keyup x

files=("$kept"/*.vtxreplay)
[[ -f ${files[0]} && ${#files[@]} -eq 1 ]] || fail "not one game kept in $kept: ${files[*]}"
file=${files[0]}
say "kept: $file"
verified=$("$game" --verify-replay "$file") || fail "--verify-replay failed: $verified"
say "$verified"
score=$(sed -E 's/.*: ok, ([0-9]+), .*/\1/' <<<"$verified")
((score > 0)) || fail "the shots hit nothing: $verified"
listing=$("$game" --replays)
grep -q " $score .*$(basename "$file")\$" <<<"$listing" || fail "--replays does not list it: $listing"

say "watching it again"
start_game "$game" --replay last
poll 60 "the replayed game's end with the same score" same_score_shown
[[ -z $picture ]] || cp "$WORK/watched.png" "$picture"
wait_game_exit 10
((GAME_STATUS == 0)) || fail "watching ended with status $GAME_STATUS"
[[ $(ls "$kept" | wc -l) -eq 1 ]] || fail "watching a game recorded another"

say "a damaged file is refused with status 2"
head -c 100 "$file" >"$WORK/cut.vtxreplay"
status=0
"$game" --replay "$WORK/cut.vtxreplay" 2>"$WORK/refused" || status=$?
((status == 2)) || fail "status $status for a damaged replay"
grep -q "cut.vtxreplay: damaged" "$WORK/refused" || fail "no reason given: $(cat "$WORK/refused")"
say "PASS"
