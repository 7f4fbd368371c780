#!/usr/bin/env bash
# `quorvel --run` under GNOME's compositing window manager (mutter, as an
# X11 compositor on a display of its own). Each step ends when mutter has
# placed the window and the X server has answered, never paced by mutter's
# frame clock: the steps' median is well below one 60 Hz frame, and the
# results file records mutter's answers to the test window's frames.
# The X11 program only (the Windows one has no frame answers to record).
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"
only_backend x11
command -v mutter >/dev/null || fail "mutter is not installed"

export QUORVEL_OWN_DISPLAY=1
. "${QUORVEL_SOURCE:-$(dirname "$0")/../..}/scripts/xvfb.sh"
quorvel_start_xvfb || fail "no display of its own"
dbus-run-session -- mutter --x11 --replace --sm-disable >"$artifacts/mutter.log" 2>&1 &
wm=$!
cleanup() {
  stop_program
  # Its children first: once it has gone they belong to no one we know.
  pkill -P "$wm" 2>/dev/null
  kill "$wm" 2>/dev/null
  wait "$wm" 2>/dev/null
  quorvel_stop_xvfb
}
trap cleanup EXIT
# mutter has taken the display once it names itself on the root window.
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_WM_FRAME_DRAWN ||
  fail "mutter did not come up (see $artifacts/mutter.log)"

results="$artifacts/mutter-run.json"
out="$artifacts/mutter-run.txt"
rm -f "$results"
start_program --run --results-file "$results" > "$out"
wait_for_exit 120
[ "$EXIT_CODE" = "0" ] || fail "--run under mutter gave exit code $EXIT_CODE"
# mutter composites: every test is shown as it asks.
QUORVEL_EXPECT_SHOWN="as asked,as asked,as asked,as asked" \
  /usr/bin/python3 "$(dirname "$0")/check_results.py" "$results" 1 "$out" || exit 1
/usr/bin/python3 - "$results" <<'PY' || exit 1
import json, sys
doc = json.load(open(sys.argv[1]))
desktop = doc["desktop"]
if desktop["windowManager"] != "Mutter" or not desktop["compositor"] or not desktop["frameDrawn"]:
    sys.exit("FAIL: the desktop is described as %r" % desktop)
frame_us = 1e6 / 60
for t in doc["runs"][0]["tests"]:
    p50 = t["stepMicroseconds"]["p50"]
    # Paced by the frame clock, every step would take a frame (16.7 ms).
    if p50 > frame_us / 4:
        sys.exit("FAIL: %s: step median %.0f us, a quarter frame is %.0f" % (t["label"], p50, frame_us / 4))
    if t["compositorFrames"] is None:
        sys.exit("FAIL: %s: no compositor frames recorded" % t["label"])
drawn = [t["compositorFrames"]["drawn"] for t in doc["runs"][0]["tests"]]
print("mutter: step medians %s us, frames drawn %s" % (
    [round(t["stepMicroseconds"]["p50"]) for t in doc["runs"][0]["tests"]], drawn))
PY
echo "PASS"
