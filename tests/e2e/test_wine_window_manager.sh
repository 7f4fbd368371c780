#!/usr/bin/env bash
# The Windows program under Wine as a user runs it: a default prefix, whose
# windows the window manager manages (the other tests' prefix turns Wine's
# window management off), and a window manager (openbox) on a display of
# its own. openbox does not maximise a window without a maximise box; the
# main window covers the screen all the same, shows the skin edge to edge,
# and `--run` ends with the 21-line report. The prefix is made once per
# build folder (build/win32/wineprefix-managed).
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"
only_backend win32
command -v openbox >/dev/null || fail "openbox is not installed"
. "${QUORVEL_SOURCE:-$(dirname "$0")/../..}/scripts/xvfb.sh"

export WINEPREFIX="$(cd "$(dirname "$PROGRAM")" && pwd)/wineprefix-managed"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # Made without a display: nothing of it shows on anyone's screen.
  DISPLAY= wineboot -i >/dev/null 2>&1
  wineserver -w
fi
[ -f "$WINEPREFIX/system.reg" ] || fail "could not make the Wine prefix $WINEPREFIX"
if grep -qs '"Managed"="N"' "$WINEPREFIX/user.reg"; then
  fail "the prefix $WINEPREFIX has Wine's window management turned off"
fi

work="$(mktemp -d)"
wm=""
cleanup() {
  stop_program
  wineserver -k >/dev/null 2>&1
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  quorvel_stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

QUORVEL_OWN_DISPLAY=1 quorvel_start_xvfb || fail "no display of its own"
openbox --sm-disable >"$artifacts/wine-openbox.log" 2>&1 &
wm=$!
wait_until 10 wm_named || fail "openbox did not come up (see $artifacts/wine-openbox.log)"

start_program
expect_main_screen "Wine under openbox" "screenshot wine-openbox-main"
stop_program
wineserver -w

out="$work/run.txt"
start_program --run >"$out"
wait_for_exit 120
[ "$EXIT_CODE" = 0 ] || fail "--run under openbox gave exit code $EXIT_CODE"
lines="$(tr -d '\r' <"$out" | wc -l)"
[ "$lines" = 21 ] || fail "--run under openbox printed $lines lines, not 21: $(cat "$out")"
tr -d '\r' <"$out" | sed -n 1p | grep -qx 'Quorvel Results' || fail "the report's title is missing"
echo "PASS"
