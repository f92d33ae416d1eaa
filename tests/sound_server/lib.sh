# shellcheck shell=bash disable=SC2034 # the tests use what is set here
# Shared by the sound server tests: the window tests' rig (a private X
# server, the game in it) plus a private PulseAudio server with a null sink,
# its socket in the test's own folder, whose monitor records what the game
# plays. Source it from a bash script that runs under `set -euo pipefail`.
source "$(dirname "${BASH_SOURCE[0]}")/../window/lib.sh"

PULSE_DIR=$WORK/pulse
PULSE_PID=
RECORD_PID=
SINK=vantorix_test
# How often the game tries a missing sound device again (MixerDevice::kRetryMs).
RETRY_S=2
HEARD=$WORK/heard.raw
export PULSE_SERVER=unix:$PULSE_DIR/native PULSE_RUNTIME_PATH=$PULSE_DIR/run PULSE_STATE_PATH=$PULSE_DIR/state
# No cookie and no client configuration from whoever runs the tests.
export PULSE_CLIENTCONFIG=$PULSE_DIR/client.conf HOME=$WORK
export GAME_AUDIODRIVER=pulseaudio

# stop PID: ends a process of ours, if there is one.
stop() {
    [[ -n $1 ]] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

stop_recording() {
    stop "$RECORD_PID"
    RECORD_PID=
}

stop_pulse() {
    stop_recording
    stop "$PULSE_PID"
    PULSE_PID=
}

# said TEXT: the game has said it on stderr.
said() { grep -q "$1" "$WORK/game.err"; }

# server_up_heard WHAT: starts the server and waits for the game to say its
# sound is back, then for WHAT, the music on the sink.
server_up_heard() {
    start_pulse
    record
    local started=$SECONDS
    poll $((2 * RETRY_S + 5)) "the game's line that sound is back" said "is back"
    poll 5 "$1" heard_lately
    say "heard $((SECONDS - started)) s after the server came up"
    [[ $(wc -l <"$WORK/game.err") -eq 2 ]] || fail "expected two lines on stderr"
}

# Our servers go before the window rig tears down the folder they live in.
sound_server_cleanup() {
    stop_game
    stop_pulse
    cleanup
}
trap sound_server_cleanup EXIT

# start_pulse [EXTRA_OPTION...]: the server, up and answering, with the null
# sink as its default. Its log (debug level: underruns are told there) goes
# to $PULSE_DIR/server.log, appended to across restarts.
start_pulse() {
    mkdir -p "$PULSE_DIR/run" "$PULSE_DIR/state"
    : >"$PULSE_CLIENTCONFIG"
    # --system=no: run as root (in a container) it would otherwise refuse.
    pulseaudio -n --daemonize=no --system=no --exit-idle-time=-1 --disable-shm=yes \
        --use-pid-file=no --log-level=debug --log-target=stderr "$@" \
        -L "module-null-sink sink_name=$SINK" \
        -L "module-native-protocol-unix socket=$PULSE_DIR/native auth-anonymous=1" \
        2>>"$PULSE_DIR/server.log" &
    PULSE_PID=$!
    local tries
    for ((tries = 0; tries < 100; tries++)); do
        pactl info >/dev/null 2>&1 && { say "PulseAudio is up on $PULSE_SERVER"; return 0; }
        kill -0 "$PULSE_PID" 2>/dev/null || break
        sleep 0.1
    done
    tail -n 20 "$PULSE_DIR/server.log" >&2
    fail "PulseAudio did not start"
}

# record: what the sink plays from now on, raw stereo 16-bit at 44100 Hz, in $HEARD.
record() {
    stop_recording
    : >"$HEARD"
    parec --device="$SINK.monitor" --format=s16le --rate=44100 --channels=2 --raw "$HEARD" &
    RECORD_PID=$!
}

# heard_lately: the last half second recorded was mostly sound, not silence.
heard_lately() {
    local loud
    loud=$(loud_seconds 88200)
    SEEN="$loud s of the last 0.5 s loud, $(heard_seconds) s recorded"
    awk -v l="$loud" 'BEGIN { exit !(l > 0.1) }'
}

# The game's stream as the server lists it.
game_stream() { pactl list sink-inputs; }
