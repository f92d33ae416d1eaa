#!/bin/bash
# The command line as a player meets it: help and version without a window,
# misuse refused with status 2 and a pointer to --help, --mute silent yet with
# every effect still holding the game, --soundfont played through.
set -euo pipefail
game=${1:?usage: command_line.sh GAME PRESS_KEY}
press_key=${2:?usage: command_line.sh GAME PRESS_KEY}
source "$(dirname "$0")/lib.sh"

# run_without_display STATUS ARGS...: the game ends with STATUS at once, no display needed.
run_without_display() {
    local expected=$1 status=0
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$game" "$@" >"$WORK/out" 2>"$WORK/err" || status=$?
    ((status == expected)) || fail "'$*' ended with $status, not $expected: $(cat "$WORK/err")"
}

run_without_display 0 --help
grep -q '^Usage: vantorix \[OPTION\]' "$WORK/out" && grep -q -- '--soundfont FILE' "$WORK/out" &&
    grep -q 'F11' "$WORK/out" || fail "the help does not give the usage, the options and the keys"
[[ ! -s $WORK/err ]] || fail "--help wrote to stderr"
run_without_display 0 --version
[[ $(cat "$WORK/out") == "vantorix "[0-9]* ]] || fail "--version printed: $(cat "$WORK/out")"

for misuse in "--scale 0" "--scale" "--fullscreen --bogus" "stray" "--soundfont $WORK/none.sf2"; do
    # shellcheck disable=SC2086 # each case is its words
    run_without_display 2 $misuse
    [[ ! -s $WORK/out ]] || fail "'$misuse' wrote to stdout"
    [[ $(wc -l <"$WORK/err") -eq 2 ]] && grep -q "^Try 'vantorix --help'" "$WORK/err" ||
        fail "'$misuse' said: $(cat "$WORK/err")"
    say "'$misuse': $(head -n1 "$WORK/err")"
done

# loudness FILE: the RMS of SDL's disk audio, 16-bit samples.
loudness() {
    od -An -v -td2 -w2 "$1" | awk '{ s += $1 * $1; n++ } END { print n ? int(sqrt(s / n)) : 0 }'
}

# title_music_with OPTION...: a second and a half of the title screen through
# SDL's disk audio; prints its loudness.
title_music_with() {
    rm -f "$WORK/sound.raw"
    GAME_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$WORK/sound.raw start_game "$game" "$@" >&2
    sleep 1.5
    stop_game
    loudness "$WORK/sound.raw"
}

start_xvfb
cp "$(readlink -f /usr/share/sounds/sf2/TimGM6mb.sf2)" "$WORK/my font.sf2"
head -c 100000 /dev/urandom >"$WORK/broken.sf2"
through_mine=$(title_music_with --soundfont "$WORK/my font.sf2")
through_broken=$(title_music_with --soundfont "$WORK/broken.sf2")
say "title music RMS through a copy of the SoundFont: $through_mine; through a broken one: $through_broken"
((through_mine > 100)) || fail "nothing was heard through the SoundFont given"
((through_broken < 10)) || fail "music was heard though the SoundFont given was broken"

say "--mute: nothing reaches the sound device, and start.wav still holds the game for its second"
rm -f "$WORK/sound.raw"
GAME_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$WORK/sound.raw start_game "$game" --mute
focus_game
started=$(date +%s%N)
"$press_key" 52 300
poll 10 "the ship in play" eval 'snap play && ship_shown play'
held_ms=$((($(date +%s%N) - started) / 1000000))
say "the game started ${held_ms} ms after Z"
((held_ms >= 1000)) || fail "the muted start.wav held the game for less than its second"
[[ ! -s $WORK/sound.raw ]] || fail "muted, the game still wrote sound to the device"
say "PASS"
