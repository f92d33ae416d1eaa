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

stop_recording() {
    if [[ -n $RECORD_PID ]]; then
        kill "$RECORD_PID" 2>/dev/null || true
        wait "$RECORD_PID" 2>/dev/null || true
    fi
    RECORD_PID=
}

stop_pulse() {
    stop_recording
    if [[ -n $PULSE_PID ]]; then
        kill "$PULSE_PID" 2>/dev/null || true
        wait "$PULSE_PID" 2>/dev/null || true
    fi
    PULSE_PID=
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
