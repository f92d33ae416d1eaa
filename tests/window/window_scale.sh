#!/bin/bash
# The scale the window opens at, under a window manager on two common screens:
# by default the largest that takes up at most half the screen each way; asked
# on the command line or remembered, as large as the screen holds.
set -euo pipefail
game=${1:?usage: window_scale.sh GAME}
source "$(dirname "$0")/lib.sh"

settings=$XDG_CONFIG_HOME/vantorix/settings

size_is() {
    SEEN=$(window_size)
    [[ $SEEN == "$1" ]]
}

# opens_at EXPECTED [OPTION...]: a run's window has that size, then it is closed.
opens_at() {
    local expected=$1
    shift
    start_game "$game" "$@"
    poll 5 "a ${expected} window (${*:-no option})" size_is "$expected"
    stop_game
}

# on_screen SCREEN: a fresh X server of that size with a window manager.
on_screen() {
    local pid
    for pid in $WM_PID $XVFB_PID; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    start_xvfb "$1"
    start_wm
}

say "1280x800: default scale 2; --scale 4 fits (1056x660); --scale 6 is cut to 4"
on_screen 1280x800
rm -f "$settings"
opens_at 528x330
opens_at 1056x660 --scale 4
opens_at 1056x660 --scale 6
say "a remembered scale 4 comes back as 4"
mkdir -p "$(dirname "$settings")"
printf 'scale = 4\n' >"$settings"
opens_at 1056x660

say "1920x1080: default scale 3; --scale 5 and 6 open at 5 and 6"
on_screen 1920x1080
rm -f "$settings"
opens_at 792x495
opens_at 1320x825 --scale 5
opens_at 1584x990 --scale 6
say "PASS"
