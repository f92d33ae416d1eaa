#!/bin/bash
# Without any display the game says so in one line and fails, rather than
# running where nobody can see it. With "no-runtime-dir" there is no
# XDG_RUNTIME_DIR either, as in a bare container or a cron job. With
# "fonts-stuck" the fonts are never found (fontconfig waits on a pipe no one
# writes): the game must not wait for them to say it has no display. With
# "gone" DISPLAY names a display no server answers on.
set -euo pipefail
game=${1:?usage: no_display.sh GAME [no-runtime-dir]}
mode=${2:-}
source "$(dirname "$0")/lib.sh"

unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
expected="DISPLAY is not set"
if [[ $mode == gone ]]; then
    # A display named that no server answers: the one a player would look for.
    export DISPLAY=:$((200 + RANDOM % 50))
    expected="the X display '$DISPLAY' (DISPLAY) could not be opened"
fi
if [[ $mode == no-runtime-dir ]]; then
    unset XDG_RUNTIME_DIR
else
    if [[ $mode == fonts-stuck ]]; then
        mkfifo "$WORK/fonts.conf"
        export FONTCONFIG_FILE=$WORK/fonts.conf
    fi
    # An empty runtime folder: a session with no Wayland compositor in it.
    mkdir -m 700 "$WORK/runtime"
    export XDG_RUNTIME_DIR=$WORK/runtime
fi

say "running the game with no display${mode:+ ($mode)}"
status=0
SDL_AUDIODRIVER=dummy timeout -k 5 10 "$game" >"$WORK/game.out" 2>"$WORK/game.err" || status=$?
((status != 124 && status != 137)) || fail "the game was still running 10 s later"
((status == 1)) || fail "the game exited with status $status, not 1"

lines=$(wc -l <"$WORK/game.err")
((lines == 1)) || fail "the game wrote $lines lines to stderr, not 1"
grep -q '^vantorix: cannot open a display' "$WORK/game.err" ||
    fail "stderr does not start with \"vantorix: cannot open a display\""
grep -qF "$expected" "$WORK/game.err" || fail "stderr does not say \"$expected\""
say "status 1 and one line: $(cat "$WORK/game.err")"
say "PASS"
