#!/usr/bin/env bash
# No pixel of the key colour's tint reaches the screen: on the main screen
# and on the results screen after a real run, at 1024x768 and at 1920x1080,
# no pixel has red and blue both more than 60 above its green. (Text drawn
# antialiased on magenta and then colour-keyed would leave thousands.) Each
# size runs on a display of its own.
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"

backend="${QUORVEL_BACKEND:-x11}"
source_dir="${QUORVEL_SOURCE:-$(cd "$(dirname "$0")/../.." && pwd)}"
light="90,125,222"
python=/usr/bin/python3
[ -x "$python" ] || python=python3

# tinted FILE: how many pixels of the screenshot lean toward magenta.
tinted() {
  convert "$1" -colorspace sRGB -depth 8 rgb:- 2>/dev/null | "$python" -c '
import sys
data = sys.stdin.buffer.read()
print(sum(1 for r, g, b in zip(data[0::3], data[1::3], data[2::3]) if r - g > 60 and b - g > 60))'
}

check_screen() {
  local shot="$1" what="$2" n
  n="$(tinted "$shot")"
  [ "$n" = "0" ] || fail "$what: $n pixels lean toward the key colour (see $shot)"
  echo "$what: no key-tinted pixel"
}

run_limit=40
[ "$backend" = "win32" ] && run_limit=90

check_size() {
  local width="$1" height="$2" label="$backend-fringes-$1x$2"
  # A Wine desktop belongs to the display it started on.
  [ "$backend" = "win32" ] && wineserver -k >/dev/null 2>&1
  export QUORVEL_OWN_DISPLAY=1 QUORVEL_SCREEN="${width}x${height}x24"
  . "$source_dir/scripts/xvfb.sh"
  quorvel_start_xvfb || fail "no ${width}x${height} display"
  trap 'stop_program; [ "$backend" = "win32" ] && wineserver -k >/dev/null 2>&1; quorvel_stop_xvfb' EXIT
  export XDG_CONFIG_HOME
  XDG_CONFIG_HOME="$(mktemp -d)"

  start_program
  wait_for_pixel $((width - 30)) 300 "$light" 30 ||
    { screenshot "$label-no-main" >/dev/null; fail "${width}x${height}: the main screen never came"; }
  sleep 0.5
  check_screen "$(screenshot "$label-main")" "${width}x${height} main screen"

  # "Run Test" (control 1016 at 120..220, 488..520).
  xdotool mousemove 170 504
  sleep 0.2
  xdotool click 1
  await_test_window 20 || fail "${width}x${height}: no test window after 'Run Test'"
  await_run_end "$run_limit" || fail "${width}x${height}: the run did not end within $run_limit s"
  xdotool mousemove $((width - 5)) $((height / 2))
  sleep 0.5
  check_screen "$(screenshot "$label-results")" "${width}x${height} results screen"
  rm -rf "$XDG_CONFIG_HOME"
}

( check_size 1024 768 ) || exit 1
( check_size 1920 1080 ) || exit 1
