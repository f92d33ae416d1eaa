# shellcheck shell=bash
# Shared by the install tests: what an installed tree must hold, and the game in
# it started from elsewhere under a private X server. Source it from a bash
# script that runs under `set -euo pipefail`; it brings in the window tests'
# helpers (WORK, say, fail, start_xvfb, start_game, tap...).

source "$(dirname "${BASH_SOURCE[0]}")/../window/lib.sh"

MEDIA=(title.mid bgm.mid start.wav end.wav high.wav hit.wav miss.wav gameover.wav clear.wav)
ICON_SIZES=(16 22 24 32 48 64 128 256)
DESKTOP_FILE=vantorix.desktop
METAINFO_FILE=io.github.vantorix.Vantorix.metainfo.xml

WATCH_PID=
stop_watch() {
    if [[ -n $WATCH_PID ]]; then
        kill "$WATCH_PID" 2>/dev/null || true
        wait "$WATCH_PID" 2>/dev/null || true
        WATCH_PID=
    fi
}
trap 'stop_watch; cleanup' EXIT

# rgb_at PNG X Y: prints "r g b".
rgb_at() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 rgb:- | od -An -tu1 | xargs
}

# expect_pixel PNG X Y "R G B" WHAT
expect_pixel() {
    local seen
    seen=$(rgb_at "$1" "$2" "$3")
    [[ $seen == "$4" ]] || fail "$5 at ($2,$3) of $1 is RGB($seen), not RGB($4)"
}

# check_icons ROOT REFERENCE: every hicolor size is there, as large as its folder
# says, and is the reference (the window's icon) sampled to that size with no
# colour blended in. The 32 px one is the window's icon itself.
check_icons() {
    local root=$1 reference=$2 size png ae
    for size in "${ICON_SIZES[@]}"; do
        png=$root/share/icons/hicolor/${size}x${size}/apps/vantorix.png
        [[ -f $png ]] || fail "no ${size} px icon: $png"
        [[ $(identify -format '%m %w %h' "$png") == "PNG $size $size" ]] ||
            fail "the ${size} px icon is $(identify -format '%m %wx%h' "$png")"
        convert "$reference" -sample "${size}x${size}" "$WORK/expected.png"
        ae=$(compare -metric AE "$png" "$WORK/expected.png" null: 2>&1) || true
        [[ $ae == 0 ]] ||
            fail "the ${size} px icon is not the window's icon sampled to that size (${ae} pixels differ)"
    done
    # The reference itself, by the picture's palette colours.
    png=$root/share/icons/hicolor/32x32/apps/vantorix.png
    expect_pixel "$png" 0 0 "0 0 255" "the blue background"
    expect_pixel "$png" 12 1 "0 255 255" "the cyan face"
    expect_pixel "$png" 2 17 "255 0 0" "the red V"
    expect_pixel "$png" 4 18 "128 0 0" "the V's dark shadow"
    say "icons at ${ICON_SIZES[*]} px, each the window's icon without blending"
}

# xml_value FILE SED-REGEX: the first match's group 1.
xml_value() { sed -n "s:.*$2.*:\1:p" "$1" | head -n1; }

# desktop_key FILE KEY
desktop_key() { sed -n "s/^$2=//p" "$1" | head -n1; }

# check_tree ROOT BUILD SOURCE REFERENCE [COMMANDS]: ROOT, an installed prefix,
# holds the whole game as built in BUILD from SOURCE, with its command in
# ROOT/COMMANDS (bin by default), and its pieces name each other right.
check_tree() {
    local root=$1 build=$2 source=$3 reference=$4 commands=${5:-bin}
    local folder=$root/lib/vantorix link=$root/$commands/vantorix name target
    [[ -f $folder/vantorix && ! -L $folder/vantorix && -x $folder/vantorix ]] ||
        fail "no program at $folder/vantorix"
    for name in "${MEDIA[@]}"; do
        cmp -s "$folder/$name" "$build/$name" ||
            fail "$name beside the program is missing or not the one built"
    done
    say "the program and its nine media in $folder"

    [[ -L $link ]] || fail "$link is not a link"
    target=$(readlink "$link")
    [[ $target != /* ]] || fail "$link points to the absolute path $target"
    [[ $(realpath "$link") == "$(realpath "$folder/vantorix")" ]] ||
        fail "$link leads to $(realpath "$link"), not to the program"
    say "$commands/vantorix is a relative link, $target"

    local desktop=$root/share/applications/$DESKTOP_FILE
    local metainfo=$root/share/metainfo/$METAINFO_FILE
    cmp -s "$desktop" "$source/data/$DESKTOP_FILE" || fail "no desktop entry as in data/ at $desktop"
    cmp -s "$metainfo" "$source/data/$METAINFO_FILE" || fail "no metainfo as in data/ at $metainfo"
    cmp -s "$root/share/doc/vantorix/copyright" "$source/LICENSE" || fail "no licence in share/doc/vantorix"
    check_icons "$root" "$reference"
    man -l "$root/share/man/man6/vantorix.6.gz" 2>/dev/null | grep -q -- '--soundfont FILE' ||
        fail "no manual page giving the options at share/man/man6/vantorix.6.gz"

    name=$(desktop_key "$desktop" Exec)
    [[ -x $root/$commands/$name ]] || fail "the desktop entry runs '$name', which is not in $commands/"
    name=$(desktop_key "$desktop" Icon)
    [[ -f $root/share/icons/hicolor/32x32/apps/$name.png ]] ||
        fail "the desktop entry's icon '$name' is not installed"
    # The window's X class, which the window tests check, ties the window to the entry.
    [[ $(desktop_key "$desktop" StartupWMClass) == vantorix ]] ||
        fail "the desktop entry does not match the window's class vantorix"
    name=$(xml_value "$metainfo" '<launchable type="desktop-id">\(.*\)</launchable>')
    [[ $name == "$DESKTOP_FILE" ]] || fail "the metainfo launches '$name', not $DESKTOP_FILE"
    name=$(xml_value "$metainfo" '<binary>\(.*\)</binary>')
    [[ -x $root/$commands/$name ]] || fail "the metainfo provides '$name', which is not in $commands/"
    name=$(xml_value "$metainfo" '<id>\(.*\)</id>')
    [[ $name.metainfo.xml == "$METAINFO_FILE" ]] || fail "the metainfo's id $name does not match its file name"
    say "desktop entry, metainfo, manual and licence installed; command, icon, class and ids agree"
}

# play_and_quit ROOT [COMMANDS]: runs ROOT/COMMANDS/vantorix (bin by default)
# from / under a private X server,
# quits it with X on the title screen and expects status 0, nothing on stderr,
# and the title song and the goodbye sound read from the program's own folder.
play_and_quit() {
    local root=$1 commands=${2:-bin} folder=$1/lib/vantorix tries
    start_xvfb
    inotifywait -m -e open --format '%f' "$folder" >"$WORK/opened" 2>"$WORK/watch.log" &
    WATCH_PID=$!
    for ((tries = 0; tries < 100; tries++)); do
        grep -q 'Watches established' "$WORK/watch.log" && break
        sleep 0.1
    done
    grep -q 'Watches established' "$WORK/watch.log" || fail "inotifywait did not start"

    # Nowhere near the media, so only the program's own folder can supply them.
    cd /
    start_game "$root/$commands/vantorix"
    poll 10 "the title screen painted" title_painted
    focus_game
    tap x
    wait_game_exit 10
    ((GAME_STATUS == 0)) || fail "the game exited with status $GAME_STATUS"
    [[ ! -s $WORK/game.err ]] || fail "the game complained on stderr"
    stop_watch
    grep -qx title.mid "$WORK/opened" || fail "the title song was not read from $folder"
    grep -qx end.wav "$WORK/opened" || fail "the goodbye sound was not read from $folder"
    say "started from /, read its media from $folder, quit with X, status 0, stderr silent"
}
