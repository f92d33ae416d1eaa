# shellcheck shell=bash disable=SC2086,SC2034 # words split on purpose; the tests use what is set here
# Shared by the window tests: a private X server, the game running in it,
# keys sent to it and pixels read back from it. Source it from a bash script
# that runs under `set -euo pipefail`. Colours and rectangles are kept as
# "r g b" words and split on purpose.

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vantorix-window.XXXXXX")
XVFB_PID=
WM_PID=
GAME_PID=
GAME_STATUS=
WID=

say() { echo "-- $*"; }

fail() {
    echo "FAIL: $*" >&2
    if [[ -s $WORK/game.err ]]; then
        echo "the game's stderr:" >&2
        sed 's/^/  | /' "$WORK/game.err" >&2
    fi
    exit 1
}

# Ends the running game, if any, the way the desktop asks it to at log-out.
stop_game() {
    if [[ -n $GAME_PID ]] && kill -0 "$GAME_PID" 2>/dev/null; then
        # SDL turns SIGTERM into a close request, which a faulty game may ignore.
        kill "$GAME_PID" 2>/dev/null || true
        local tries
        for ((tries = 0; tries < 30; tries++)); do
            game_running || break
            sleep 0.1
        done
        kill -KILL "$GAME_PID" 2>/dev/null || true
        wait "$GAME_PID" 2>/dev/null || true
    fi
    GAME_PID=
}

cleanup() {
    stop_game
    local pid
    for pid in $WM_PID $XVFB_PID; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

# The game keeps its settings, its games and the fonts it found here, never in
# the home of whoever runs the tests.
export XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data XDG_CACHE_HOME=$WORK/cache

# start_xvfb [WIDTHxHEIGHT]: a screen of our own, 1024x768 unless given. Xvfb
# picks a free display number and writes it to fd 3, so tests can run side by side.
start_xvfb() {
    # Emptied here, not by the child's redirection, which may come after the first look.
    : >"$WORK/display"
    # No reset when the last client leaves, so resources set with xrdb stay.
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset \
        3>"$WORK/display" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    local tries
    for ((tries = 0; tries < 100; tries++)); do
        # The number is complete once its newline is there.
        if [[ $(wc -l <"$WORK/display") -ge 1 ]]; then
            DISPLAY=":$(head -n1 "$WORK/display")"
            export DISPLAY
            say "Xvfb is on $DISPLAY"
            return 0
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    cat "$WORK/xvfb.log" >&2
    fail "Xvfb did not start"
}

# A window manager, for what only one does: resizing and full screen.
start_wm() {
    openbox --sm-disable >"$WORK/wm.log" 2>&1 &
    WM_PID=$!
    local tries
    for ((tries = 0; tries < 100; tries++)); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    cat "$WORK/wm.log" >&2
    fail "the window manager did not start"
}

# start_game GAME [OPTION...]: starts the game in the background and sets WID
# to its shown window. Sound goes to SDL's $GAME_AUDIODRIVER, dummy by default.
start_game() {
    local game=$1
    shift
    SDL_AUDIODRIVER=${GAME_AUDIODRIVER:-dummy} "$game" "$@" >"$WORK/game.out" 2>"$WORK/game.err" &
    GAME_PID=$!
    WID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Vantorix$' | head -n1) ||
        fail "no visible window named Vantorix appeared within 10 s"
    [[ -n $WID ]] || fail "no visible window named Vantorix appeared within 10 s"
    say "the game's window is $WID"
}

game_running() { kill -0 "$GAME_PID" 2>/dev/null; }

# Waits up to $1 seconds for the game to end and sets GAME_STATUS; fails if it does not.
wait_game_exit() {
    local seconds=$1 deadline=$((SECONDS + $1))
    while game_running; do
        ((SECONDS < deadline)) || fail "the game was still running ${seconds} s later"
        sleep 0.1
    done
    GAME_STATUS=0
    wait "$GAME_PID" || GAME_STATUS=$?
    GAME_PID=
}

# poll SECONDS WHAT COMMAND...: runs COMMAND until it succeeds. Fails, naming
# WHAT, if the time runs out or the game ends first. COMMAND may put what it
# last saw in SEEN for the failure message.
SEEN=
poll() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    SEEN=
    until "$@"; do
        game_running || fail "the game ended while waiting for: $what"
        ((SECONDS < deadline)) || fail "not seen within ${seconds} s: $what${SEEN:+ (last seen: $SEEN)}"
        sleep 0.2
    done
    say "seen: $what"
}

focus_game() { xdotool windowfocus --sync "$WID"; }

# The window's client area as WIDTHxHEIGHT.
window_size() { xwininfo -id "$WID" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }

# tap KEY: a short press, as a person gives it.
tap() {
    xdotool keydown "$1"
    sleep 0.05
    xdotool keyup "$1"
}

# snap NAME: the window's client area as NAME.png and as NAME.txt, which holds
# one "x y r g b" line a pixel for the queries below.
snap() {
    local png=$WORK/$1.png width
    import -silent -window "$WID" "$png" || return 1
    width=$(convert "$png" -format '%w' info:) || return 1
    convert "$png" -depth 8 -alpha off rgb:- | od -An -v -tu1 -w3 |
        awk -v w="$width" '{ print (NR - 1) % w, int((NR - 1) / w), $1, $2, $3 }' \
            >"$WORK/$1.txt"
}

# colours X,Y...: a fresh picture of the window's client area, read at a few
# points, one "r g b" line a point. Much quicker than snap on a large window.
colours() {
    local png=$WORK/colours.png format= point channel
    import -silent -window "$WID" "$png" || return 1
    for point in "$@"; do
        for channel in r g b; do format+="%[fx:int(255*p{$point}.$channel+0.5)] "; done
        format+=$'\n'
    done
    convert "$png" -format "$format" info: | sed 's/ $//'
}

# pixel NAME X Y: prints "r g b".
pixel() {
    awk -v x="$2" -v y="$3" '$1 == x && $2 == y { print $3, $4, $5; found = 1; exit }
        END { exit !found }' "$WORK/$1.txt"
}

# near NAME X0 Y0 X1 Y1 R G B TOL: prints "x y" for each pixel of the rectangle
# (corners included) within TOL of R,G,B on every channel.
near() {
    awk -v x0="$2" -v y0="$3" -v x1="$4" -v y1="$5" -v r="$6" -v g="$7" -v b="$8" -v tol="$9" '
        function off(a, b) { return a > b ? a - b : b - a }
        $1 >= x0 && $1 <= x1 && $2 >= y0 && $2 <= y1 &&
            off($3, r) <= tol && off($4, g) <= tol && off($5, b) <= tol { print $1, $2 }
        ' "$WORK/$1.txt"
}

# count_near NAME X0 Y0 X1 Y1 R G B TOL: how many pixels near() finds.
count_near() { near "$@" | wc -l; }

# The colours the game paints with.
FIELD_BLUE="0 0 192"
FLASH_WHITE="255 255 255"
TEXT_BLUE="128 128 255"
FACE_NAVY="0 0 128"
SHIP_CYAN="0 255 255"

# The ship's place in its start lane, in client coordinates.
SHIP_AREA="8 64 40 96"

# ship_shown NAME: some cyan in the ship's start place.
ship_shown() {
    local n
    n=$(count_near "$1" $SHIP_AREA $SHIP_CYAN 24)
    SEEN="$n cyan pixels there"
    ((n > 0))
}

# mostly NAME R G B: over half the client area is that colour, so the field
# behind the text and sprites has it.
mostly() {
    local total n
    total=$(wc -l <"$WORK/$1.txt")
    n=$(count_near "$1" 0 0 9999 9999 "$2" "$3" "$4" 8)
    SEEN="$n of $total pixels"
    ((n * 2 > total))
}

# help_line NAME: where the help line's letters are, between the counters at the
# bottom corners. Tests keep the title screen's in $WORK/title-help.
help_line() { near "$1" 40 147 210 163 $TEXT_BLUE 16; }

# play_started: the help line differs from the title screen's.
play_started() {
    snap play || return 1
    help_line play >"$WORK/now-help"
    ! cmp -s "$WORK/title-help" "$WORK/now-help"
}

# back_in_attract [NAME]: the title screen's help line is back (a snap named
# NAME, "over" unless given).
back_in_attract() {
    local name=${1:-over}
    snap "$name" || return 1
    help_line "$name" >"$WORK/now-help"
    SEEN="the help line is $(cmp -s "$WORK/title-help" "$WORK/now-help" && echo the title\'s || echo another)"
    cmp -s "$WORK/title-help" "$WORK/now-help"
}

# title_painted: the title screen's field colour is up (a snap named "title").
title_painted() {
    snap title || return 1
    SEEN="RGB($(pixel title 5 60 | tr ' ' ,)) at (5,60)"
    [[ $(pixel title 5 60) == "$FIELD_BLUE" ]]
}

# The game's sound, through SDL's disk audio driver: raw stereo 16-bit frames
# at 44100 Hz, written as they are played.
HEARD=$WORK/heard.raw

# start_game_heard GAME: like start_game, with the sound captured in $HEARD.
start_game_heard() {
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$HEARD "$1" >"$WORK/game.out" 2>"$WORK/game.err" &
    GAME_PID=$!
    WID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Vantorix$' | head -n1) ||
        fail "no visible window named Vantorix appeared within 10 s"
    say "the game's window is $WID, its sound goes to $HEARD"
}

# heard_seconds: how much sound has been played so far.
heard_seconds() { awk -v b="$(stat -c %s "$HEARD")" 'BEGIN { printf "%.2f", b / 176400 }'; }

# loud_seconds [BYTES]: how long the sound (its last BYTES, or all of it) was
# louder than a quiet hum, in seconds.
loud_seconds() {
    { if [[ -n ${1:-} ]]; then tail -c "$1" "$HEARD"; else cat "$HEARD"; fi; } |
        od -An -v -td2 -w4 |
        awk '{ l = $1 < 0 ? -$1 : $1; if (l > 1000) n++ } END { printf "%.2f", n / 44100 }'
}
