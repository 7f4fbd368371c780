#!/usr/bin/env bash
# The X server dies while the test window is being dragged: the program ends
# within a few seconds with a message that says so and a non-zero status; it
# neither hangs nor touches the settings file. On a display of its own, so
# the other tests keep theirs. The Linux program only (Wine would lose its
# own server connection first).
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"
. "${QUORVEL_SOURCE:-$(dirname "$0")/../..}/scripts/xvfb.sh"
[ "${QUORVEL_BACKEND:-x11}" = "x11" ] || exit 77

work="$(mktemp -d)"
cleanup() {
  stop_program
  rm -rf "$work"
}
trap cleanup EXIT

QUORVEL_SCREEN=1024x768x24 QUORVEL_OWN_DISPLAY=1 quorvel_start_xvfb || fail "no Xvfb of its own"

export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME"
printf '[QUORVEL]\r\nNAME=Kept Name\r\nMAIL=kept@example.com\r\n' > "$XDG_CONFIG_HOME/Quorvel.ini"
cp "$XDG_CONFIG_HOME/Quorvel.ini" "$work/ini.before"

start_program --run > "$work/out" 2> "$work/err"
await_test_window 30 || fail "no test window appeared"
sleep 0.3
kill -KILL "$QUORVEL_XVFB_PID"
quorvel_stop_xvfb
killed_at=$SECONDS

wait_for_exit 10
[ "$EXIT_CODE" != "124" ] || fail "the program still runs 10 s after the X server died"
[ "$EXIT_CODE" != "0" ] || fail "the program exited 0 after losing its display"
[ "$EXIT_CODE" -lt 128 ] || fail "the program died of signal $((EXIT_CODE - 128)): $(cat "$work/err")"
grep -q "connection to the X server" "$work/err" ||
  fail "no message about the lost display on standard error: $(cat "$work/err")"
cmp -s "$XDG_CONFIG_HOME/Quorvel.ini" "$work/ini.before" || fail "the settings file changed"
[ "$(ls "$XDG_CONFIG_HOME")" = "Quorvel.ini" ] || fail "files left beside the settings: $(ls "$XDG_CONFIG_HOME")"
echo "exit status $EXIT_CODE after $((SECONDS - killed_at)) s: $(head -n 1 "$work/err")"
echo "PASS"
