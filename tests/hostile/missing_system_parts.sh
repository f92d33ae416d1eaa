#!/bin/bash
# What the game says when parts of the system are missing: no sound device and
# no SoundFont, or one that cannot be loaded, leave it running with one line of
# explanation; without a font it
# cannot draw, so it stops with a line naming the package to install.
# Files are hidden by mounting an empty folder over them in a private mount
# namespace, which needs root.
set -euo pipefail
game=${1:?usage: missing_system_parts.sh GAME SEND_CLOSE}
send_close=${2:?usage: missing_system_parts.sh GAME SEND_CLOSE}
source "$(dirname "$0")/../window/lib.sh"

if [[ $(id -u) -ne 0 ]] || ! unshare --mount true 2>/dev/null; then
    say "SKIP: hiding system files needs root and mount namespaces"
    exit 0
fi
mkdir "$WORK/empty" "$WORK/broken-sf2"
echo "not a SoundFont" >"$WORK/broken-sf2/TimGM6mb.sf2"

# "${hidden[@]}" FOLDER COMMAND...: runs COMMAND with FOLDER looking empty;
# "${replaced[@]}" with FOLDER holding only a broken SoundFont.
mounted_over=(unshare --mount bash -c 'mount --bind "$0" "$1" && shift && exec "$@"')
hidden=("${mounted_over[@]}" "$WORK/empty")
replaced=("${mounted_over[@]}" "$WORK/broken-sf2")

said_something() { [[ -s $WORK/game.err ]]; }

# runs_with_one_line PATTERN: the running game printed exactly one line, matching PATTERN.
runs_with_one_line() {
    poll 10 "the title screen painted" title_painted
    # The sound starts once the first frame is up; what it finds missing comes after.
    poll 10 "a line on stderr" said_something
    sleep 1
    [[ $(wc -l <"$WORK/game.err") -eq 1 ]] || fail "expected one line on stderr"
    grep -q "$1" "$WORK/game.err" || fail "the line does not say '$1'"
    say "it said: $(cat "$WORK/game.err")"
    "$send_close" "$WID"
    wait_game_exit 10
    ((GAME_STATUS == 0)) || fail "exit status $GAME_STATUS"
}

# stops_naming PACKAGE COMMAND...: COMMAND ends with status 1 and one line naming PACKAGE.
stops_naming() {
    local package=$1 status=0
    shift
    timeout 10 "$@" >/dev/null 2>"$WORK/stop.err" || status=$?
    ((status == 1)) || fail "expected status 1 without $package, got $status"
    [[ $(wc -l <"$WORK/stop.err") -eq 1 ]] || fail "expected one line: $(cat "$WORK/stop.err")"
    grep -q "$package" "$WORK/stop.err" || fail "the line does not name $package"
    say "it said: $(cat "$WORK/stop.err")"
}

start_xvfb

say "no sound device"
SDL_AUDIODRIVER=nosuchdevice "$game" >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
WID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Vantorix$' | head -n1) || fail "no window"
runs_with_one_line "no sound device"

say "no sound card for ALSA: the game's line, none of ALSA's"
: >"$WORK/no-cards.conf"
ALSA_CONFIG_PATH=$WORK/no-cards.conf SDL_AUDIODRIVER=alsa "$game" >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
WID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Vantorix$' | head -n1) || fail "no window"
runs_with_one_line "no sound device"

say "no SoundFont"
SDL_AUDIODRIVER=dummy "${hidden[@]}" /usr/share/sounds/sf2 "$game" >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
WID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Vantorix$' | head -n1) || fail "no window"
runs_with_one_line "timgm6mb-soundfont"

say "a SoundFont that cannot be loaded"
SDL_AUDIODRIVER=dummy "${replaced[@]}" /usr/share/sounds/sf2 "$game" >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
WID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Vantorix$' | head -n1) || fail "no window"
runs_with_one_line "TimGM6mb.sf2 cannot be loaded.*timgm6mb-soundfont"

say "no symbol font"
symbola=$(dirname "$(fc-match -f '%{file}' Symbola)")
stops_naming fonts-symbola env SDL_AUDIODRIVER=dummy "${hidden[@]}" "$symbola" "$game"

say "no fonts at all"
stops_naming fonts-ipafont-gothic env SDL_AUDIODRIVER=dummy "${hidden[@]}" /usr/share/fonts "$game"
say "PASS"
