#!/usr/bin/env bash
# The main screen on screens of other depths than 24 bits, each an Xvfb
# display of its own: 8-bit PseudoColor (the skin in the nearest colours of
# the colour cube the program put into the default colormap), 16-bit and
# 30-bit TrueColor and 24-bit DirectColor (the skin's colours within the
# rounding of the channels). On the 8-bit and 16-bit screens `--run` also
# ends with the report, and says what the screen showed.
# The X11 program only (Wine draws through its own X11 driver).
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"
only_backend x11
. "${QUORVEL_SOURCE:-$(dirname "$0")/../..}/scripts/xvfb.sh"
python=/usr/bin/python3
[ -x "$python" ] || python=python3
work="$(mktemp -d)"
export XDG_CONFIG_HOME="$work/config"
cleanup() {
  stop_program
  quorvel_stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

# expected_colours R,G,B...: for each skin colour "R,G,B TOLERANCE" as the
# screen must show it. On a colormap visual that is the nearest colour of
# the largest full colour cube (6 to 4 levels a channel) in the default
# colormap, exactly; on TrueColor the colour itself, within half a step of
# the narrowest channel.
expected_colours() {
  "$python" - "$@" <<'PY'
import ctypes, ctypes.util, itertools, sys
x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultScreen.argtypes = [ctypes.c_void_p]
x.XDefaultVisual.restype = ctypes.c_void_p
x.XDefaultVisual.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XDefaultColormap.restype = ctypes.c_ulong
x.XDefaultColormap.argtypes = [ctypes.c_void_p, ctypes.c_int]
x.XQueryColors.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p, ctypes.c_int]

class Visual(ctypes.Structure):
    _fields_ = [("ext", ctypes.c_void_p), ("visualid", ctypes.c_ulong), ("c_class", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong),
                ("blue_mask", ctypes.c_ulong), ("bits_per_rgb", ctypes.c_int),
                ("map_entries", ctypes.c_int)]

class XColor(ctypes.Structure):
    _fields_ = [("pixel", ctypes.c_ulong), ("red", ctypes.c_ushort), ("green", ctypes.c_ushort),
                ("blue", ctypes.c_ushort), ("flags", ctypes.c_char), ("pad", ctypes.c_char)]

d = x.XOpenDisplay(None)
if not d:
    sys.exit("no display")
screen = x.XDefaultScreen(d)
visual = Visual.from_address(x.XDefaultVisual(d, screen))
wanted = [tuple(int(v) for v in arg.split(",")) for arg in sys.argv[1:]]
TRUE_COLOR, DIRECT_COLOR = 4, 5
if visual.c_class in (TRUE_COLOR, DIRECT_COLOR):
    bits = min(bin(m).count("1") for m in (visual.red_mask, visual.green_mask, visual.blue_mask))
    # Wider channels are read back through 16 bits and truncated to 8.
    tolerance = 0 if bits == 8 else 1 if bits > 8 else (255 // ((1 << bits) - 1)) // 2 + 1
    for w in wanted:
        print("%d,%d,%d %d" % (w + (tolerance,)))
    sys.exit(0)
count = visual.map_entries
cells = (XColor * count)()
for i in range(count):
    cells[i].pixel = i
x.XQueryColors(d, x.XDefaultColormap(d, screen), cells, count)
palette = {(c.red >> 8, c.green >> 8, c.blue >> 8) for c in cells}
for levels in (6, 5, 4):
    grid = [(i * 255 + (levels - 1) // 2) // (levels - 1) for i in range(levels)]
    if all(c in palette for c in itertools.product(grid, repeat=3)):
        break
else:
    sys.exit("the default colormap holds no colour cube of 4 or more levels")
for w in wanted:
    near = min(itertools.product(grid, repeat=3),
               key=lambda c: sum((a - b) ** 2 for a, b in zip(c, w)))
    print("%d,%d,%d 0" % near)
PY
}

# near RGB RGB TOLERANCE: every channel differs by at most TOLERANCE.
near() {
  awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN {
    split(a, x, ","); split(b, y, ",")
    for (i = 1; i <= 3; i++) { d = x[i] - y[i]; if (d < 0) d = -d; if (d > t) exit 1 }
  }'
}

band="0,48,156"
light="90,125,222"

# check_depth DEPTH RUN [XVFB_ARGS] [SHOWN]: the main screen on a DEPTH-bit
# screen; with RUN "run" also a whole `--run`, whose tests the desktop must
# be seen to show as SHOWN says.
check_depth() {
  local depth="$1"
  QUORVEL_OWN_DISPLAY=1 QUORVEL_SCREEN="1024x768x$depth" QUORVEL_XVFB_ARGS="${3:-}" \
    quorvel_start_xvfb || fail "no $depth-bit display"
  local width=1024 height=768
  start_program
  # The window has made its colours once it is on the screen.
  local deadline=$((SECONDS + 20))
  until xdotool search --name '^Quorvel$' >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || fail "$depth bits: no window"
    sleep 0.2
  done
  local -a expected
  mapfile -t expected < <(expected_colours "$band" "$light") || fail "$depth bits: no palette"
  [ "${#expected[@]}" = 2 ] || fail "$depth bits: no expected colours"
  local band_seen="${expected[0]% *}" light_seen="${expected[1]% *}" tolerance="${expected[0]#* }"
  local shot="" got=""
  deadline=$((SECONDS + 20))
  while [ $SECONDS -lt $deadline ]; do
    shot="$(screenshot "visuals-$depth-main")" &&
      got="$(pixel "$shot" $((width - 30)) 300)" && near "$got" "$light_seen" "$tolerance" && break
    got=""
    sleep 0.3
  done
  [ -n "$got" ] || fail "$depth bits: the main screen never showed $light_seen at the right (see $shot)"
  sleep 0.3
  shot="$(screenshot "visuals-$depth-main")" || fail "no screenshot"
  local point colour
  for point in "$((width / 2)):40:$band_seen:title band" "2:$((height - 5)):$band_seen:bottom band" \
               "30:$((height / 2)):$light_seen:content, left" \
               "$((width / 2)):$((height - 100)):$light_seen:content, bottom"; do
    IFS=: read -r px py colour what <<<"$point"
    got="$(pixel "$shot" "$px" "$py")"
    near "$got" "$colour" "$tolerance" ||
      fail "$depth bits, $what: pixel ($px, $py) is '$got', not $colour (±$tolerance; see $shot)"
  done
  local white
  white="$(convert "$shot" -crop 285x52+15+18 -depth 8 txt:- 2>/dev/null | grep -c '#FFFFFF')"
  [ "$white" -ge 50 ] || fail "$depth bits: the title band shows $white white pixels, not the title"
  stop_program
  if [ "${2:-}" = run ]; then
    local out="$work/run-$depth.txt" results="$work/run-$depth.json"
    start_program --run --results-file "$results" >"$out"
    wait_for_exit 120
    [ "$EXIT_CODE" = 0 ] || fail "$depth bits: --run gave exit code $EXIT_CODE"
    [ "$(wc -l <"$out")" = 21 ] || fail "$depth bits: --run printed $(wc -l <"$out") lines, not 21"
    grep -q "x $depth bits" "$out" || fail "$depth bits: the report does not name the depth: $(head -3 "$out")"
    # What the bare screen showed, read back: the 16-bit screen's coarser
    # channels still tell the blend; the 8-bit screen's pixels name
    # colormap cells, not colours, so nothing is known there.
    QUORVEL_EXPECT_SHOWN="$4" "$python" "$(dirname "$0")/check_results.py" "$results" 1 "$out" ||
      fail "$depth bits: results file"
  fi
  quorvel_stop_xvfb
  echo "$depth bits: band $band_seen, content $light_seen"
}

check_depth 8 run "" "unknown,unknown,unknown,unknown"
check_depth 16 run "" "as asked,opaque,opaque,as asked"
check_depth 30
check_depth 24 "" "-cc 5"
echo "PASS"
