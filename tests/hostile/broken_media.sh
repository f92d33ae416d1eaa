#!/bin/bash
# The game in a folder whose media are broken one way or another (and whose path
# has blanks and a non-ASCII letter): it must start, play and close cleanly,
# silent for what it cannot read, within the memory it is allowed, and say once
# for each file it cannot play which it is and why.
set -euo pipefail
game=${1:?usage: broken_media.sh GAME SEND_CLOSE}
send_close=${2:?usage: broken_media.sh GAME SEND_CLOSE}
source "$(dirname "$0")/../window/lib.sh"

media=(title.mid bgm.mid start.wav end.wav high.wav hit.wav miss.wav gameover.wav clear.wav)
max_kb=$((40 * 1024))

# break KIND FOLDER: damages every media file in FOLDER the way KIND says.
break_media() {
    local kind=$1 dir=$2 f
    for f in "${media[@]}"; do
        case $kind in
            missing) rm -f "$dir/$f" ;;
            empty) : >"$dir/$f" ;;
            truncated) truncate -s $(($(stat -c %s "$dir/$f") / 3)) "$dir/$f" ;;
            random) head -c 4096 /dev/urandom >"$dir/$f" ;;
            folder) rm -f "$dir/$f" && mkdir "$dir/$f" ;;
            huge-songs) if [[ $f == *.mid ]]; then truncate -s 200M "$dir/$f"; fi ;;
        esac
    done
}

start_xvfb
for kind in missing empty truncated random folder huge-songs; do
    dir="$WORK/Vantorix spiel ü $kind"
    mkdir -p "$dir"
    cp "$game" "$dir/"
    for f in "${media[@]}"; do cp "$(dirname "$game")/$f" "$dir/"; done
    break_media "$kind" "$dir"

    say "media $kind"
    start_game "$dir/vantorix"
    poll 10 "the title screen painted" title_painted
    focus_game
    xdotool keydown z
    poll 10 "a game under way" eval 'snap play && ship_shown play'
    xdotool keyup z
    sleep 2
    game_running || fail "the game ended with $kind media"
    kb=$(awk '/VmHWM/ { print $2 }' "/proc/$GAME_PID/status")
    say "peak resident memory ${kb} kB"
    ((kb <= max_kb)) || fail "$kb kB of memory with $kind media"
    "$send_close" "$WID"
    wait_game_exit 10
    ((GAME_STATUS == 0)) || fail "exit status $GAME_STATUS with $kind media"
    # One line for each file that could not be played, naming it and why.
    grep -v "^vantorix: $dir/[a-z]*\.\(mid\|wav\): not played, ." "$WORK/game.err" &&
        fail "lines other than one a file with $kind media"
    dupes=$(cut -d: -f2 "$WORK/game.err" | sort | uniq -d)
    [[ -z $dupes ]] || fail "named twice with $kind media: $dupes"
    expected=()
    case $kind in
        missing | empty | random | folder) expected=(title.mid bgm.mid start.wav) ;;
        huge-songs) expected=(title.mid bgm.mid) ;;
    esac
    for f in "${expected[@]}"; do
        grep -q "$dir/$f: not played" "$WORK/game.err" || fail "nothing said of $f with $kind media"
    done
    say "it said: $(sed "s|$dir/||" "$WORK/game.err" | tr '\n' ';')"
done
say "PASS"
