#!/bin/bash
# The game installed in a folder whose words read like the music device's
# keywords ("My Type Folder/alias"), heard through SDL's disk audio: the title
# music plays, and effects written as 24-bit and as float samples are heard.
set -euo pipefail
game=${1:?usage: sound_in_keyword_folder.sh GAME MAKE_TEST_WAVE}
make_wave=${2:?usage: sound_in_keyword_folder.sh GAME MAKE_TEST_WAVE}
source "$(dirname "$0")/lib.sh"

# at_least SECONDS WHAT: the sound heard in WHAT ($LOUD seconds) is that long.
at_least() {
    awk -v l="$LOUD" -v s="$1" 'BEGIN { exit !(l >= s) }' || fail "$2: heard for $LOUD s only"
    say "$2: heard for $LOUD s"
}

# close_quietly: closes the game, which had nothing to say beyond the disk
# driver's own notice and, once the songs are taken away, their absence.
close_quietly() {
    kill "$GAME_PID"
    wait_game_exit 10
    local said
    said=$(grep -v -e 'SDL disk i/o audio driver' -e 'Writing to file' -e '\.mid: not played, no such file' \
        "$WORK/game.err" || true)
    [[ -z $said ]] || fail "it had something to say: $said"
}

start_xvfb
dir="$WORK/My Type Folder/alias"
mkdir -p "$dir"
cp "$game" "$(dirname "$game")"/{title.mid,bgm.mid,start.wav,end.wav,high.wav,hit.wav} "$dir/"

say "the title music"
start_game_heard "$dir/vantorix"
poll 10 "the title screen painted" title_painted
sleep 3
LOUD=$(loud_seconds 176400)
at_least 0.3 "the last second of the title screen"
close_quietly

say "a 24-bit start effect and a float High effect, with no music to cover them"
rm "$dir"/*.mid "$HEARD"
"$make_wave" pcm24 0.6 "$dir/start.wav"
"$make_wave" float32 0.6 "$dir/high.wav"
start_game_heard "$dir/vantorix"
poll 10 "the title screen painted" title_painted
focus_game
tap z
poll 10 "a game under way" eval 'snap play && ship_shown play'
LOUD=$(loud_seconds)
at_least 0.45 "the 24-bit start effect"
before=$LOUD
tap x
sleep 1.5
LOUD=$(awk -v a="$(loud_seconds)" -v b="$before" 'BEGIN { printf "%.2f", a - b }')
at_least 0.45 "the float High effect"
close_quietly
say "PASS"
