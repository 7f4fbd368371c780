#!/usr/bin/env bash
# The screens of the real program as a person sees them, by pixels sampled
# from screenshots: the opening slide (black on the right while the skin
# comes in from the left), the main screen, the results screen after a real
# "Run Test", the submit screen, and the closing slide ending on black with
# the farewell picture in the middle, after which the program exits 0.
#
# Downscaled references of the screens for a 1280x1024 display are kept in
# tests/fixtures/screens/ (BACKEND-NAME.png); on such a display the live
# screens are compared with them at points inside flat areas. Run with
# QUORVEL_UPDATE_REFERENCES=1 to write them again from this run.
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"

backend="${QUORVEL_BACKEND:-x11}"
source_dir="${QUORVEL_SOURCE:-$(cd "$(dirname "$0")/../.." && pwd)}"
references="$source_dir/tests/fixtures/screens"
python=/usr/bin/python3
[ -x "$python" ] || python=python3
work="$(mktemp -d)"
cleanup() {
  stop_program
  rm -rf "$work"
}
trap cleanup EXIT
started=$SECONDS

# No stored identity: the submit screen's edits start empty.
export XDG_CONFIG_HOME="$work/config"
if [ "$backend" = "win32" ]; then
  run_limit=90
else
  run_limit=40
fi

read -r width height < <(screen_size)
[ "$height" -gt 700 ] || fail "the screen is ${width}x${height}; this test needs one taller than 700 pixels"

band="0,48,156"
light="90,125,222"
black="0,0,0"

# --- Pixel helpers -----------------------------------------------------------

# pixels FILE X0 Y0 X1 Y1: "x y r g b" for every pixel of the block
# [X0, X1) x [Y0, Y1) of a screenshot.
pixels() {
  convert "$1" -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage -colorspace sRGB -depth 8 txt:- \
    2>/dev/null |
    awk -v x0="$2" -v y0="$3" 'NR > 1 {
      split($1, p, "[,:]"); v = $2; gsub(/[()]/, "", v); split(v, c, ",")
      print p[1] + x0, p[2] + y0, c[1], c[2], c[3]
    }'
}

# count FILE X0 Y0 X1 Y1 CONDITION: how many pixels of the block satisfy the
# awk CONDITION on r, g and b.
count() {
  pixels "$1" "$2" "$3" "$4" "$5" | awk "{ r = \$3; g = \$4; b = \$5 } $6 { n++ } END { print n + 0 }"
}

# near RGB RGB TOLERANCE: true when every channel differs by at most TOLERANCE.
near() {
  awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN {
    split(a, x, ","); split(b, y, ",")
    for (i = 1; i <= 3; i++) { d = x[i] - y[i]; if (d < 0) d = -d; if (d > t) exit 1 }
  }'
}

# expect FILE X Y RGB WHAT: the pixel is RGB exactly.
expect() {
  local got
  got="$(pixel "$1" "$2" "$3")"
  [ "$got" = "$4" ] || fail "$5: pixel ($2, $3) is '$got', not $4 (see $1)"
}

# The screens are compared with their references at these points (full
# screen coordinates X:Y, each at least 4 pixels inside a flat area).
points_main=(10:10 640:40 1270:60 10:500 1250:300 1270:600 640:1010 10:1000 1270:1000 900:700)
points_results=(10:10 640:40 900:300 1000:250 30:700 1275:700 640:1010 10:1000)
points_submit=(10:10 640:40 200:257 200:317 30:600 900:800 640:1010)
points_farewell=(10:10 1270:10 10:1014 1270:1014 300:300 1000:800)

# compare_reference SHOT NAME POINTS...: on a 1280x1024 screen, the
# screenshot agrees with the reference BACKEND-NAME.png (half size) within
# 6 levels at each point; with QUORVEL_UPDATE_REFERENCES=1 the reference is
# written from the screenshot instead.
compare_reference() {
  local shot="$1" name="$2"
  shift 2
  local reference="$references/$backend-$name.png"
  if [ "$width" != 1280 ] || [ "$height" != 1024 ]; then
    echo "references are for 1280x1024; not compared on ${width}x${height}"
    return
  fi
  if [ "${QUORVEL_UPDATE_REFERENCES:-}" = "1" ]; then
    mkdir -p "$references"
    convert "$shot" -filter box -resize 50% -strip "$reference" || fail "cannot write $reference"
    echo "wrote $reference"
    return
  fi
  [ -f "$reference" ] || fail "no reference $reference (QUORVEL_UPDATE_REFERENCES=1 makes it)"
  local point x y got want
  for point in "$@"; do
    x="${point%:*}"
    y="${point#*:}"
    got="$(pixel "$shot" "$x" "$y")"
    want="$(pixel "$reference" $((x / 2)) $((y / 2)))"
    near "$got" "$want" 6 ||
      fail "$name: pixel ($x, $y) is '$got', the reference has '$want' (see $shot and $reference)"
  done
}

# --- The opening slide -------------------------------------------------------

# Samples the screen from the program's start: four pixels read straight
# from the X server every few milliseconds, so that the short slide is
# seen. Prints one line "MS LEFT_TOP LEFT_MIDDLE RIGHT_TOP RIGHT_MIDDLE" a
# sample, MS counted from the first sample showing the title band at the
# left; stops 900 ms after that, or after 60 s without it.
sample_slide_in() {
  "$python" - "$width" "$height" <<'PY'
import ctypes, ctypes.util, sys, time
w, h = int(sys.argv[1]), int(sys.argv[2])
x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XGetImage.restype = ctypes.c_void_p
x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                        ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
x.XGetPixel.restype = ctypes.c_ulong
x.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
x.XDestroyImage.argtypes = [ctypes.c_void_p]
display = x.XOpenDisplay(None)
if not display:
    sys.exit("no display")
root = x.XDefaultRootWindow(display)

def rgb(px, py):
    image = x.XGetImage(display, root, px, py, 1, 1, 0xFFFFFFFF, 2)
    if not image:
        return "?"
    p = x.XGetPixel(image, 0, 0)
    x.XDestroyImage(image)
    return "%d,%d,%d" % ((p >> 16) & 255, (p >> 8) & 255, p & 255)

points = [(10, 40), (30, h // 2), (w - 20, 40), (w - 20, h // 2)]
start = time.monotonic()
seen = None
while True:
    now = time.monotonic()
    sample = [rgb(px, py) for px, py in points]
    if seen is None and sample[0] == "0,48,156":
        seen = now
    if seen is not None:
        print("%d %s" % ((now - seen) * 1000, " ".join(sample)), flush=True)
        if now - seen > 0.9:
            break
    elif now - start > 60:
        break
    time.sleep(0.005)
PY
}

start_program
sample_slide_in >"$work/slide-in.txt" || fail "could not sample the screen"
cp "$work/slide-in.txt" "$artifacts/$backend-screens-slide-in.txt"
[ -s "$work/slide-in.txt" ] || { screenshot "$backend-screens-no-window" >/dev/null; fail "the title band never appeared at the left of the screen"; }
# Black on the right while the skin shows at the left, within 600 ms of the
# window's first picture (the first sample may come late).
awk -v band="$band" -v light="$light" -v black="$black" \
  '$1 <= 600 && $2 == band && $3 == light && $4 == black && $5 == black { found = 1 }
   END { exit !found }' "$work/slide-in.txt" ||
  fail "no sample in the first 600 ms showed the skin at the left and black at the right: $(head -5 "$work/slide-in.txt" | tr '\n' ';')"
echo "slide-in: $(wc -l <"$work/slide-in.txt") samples; first: $(head -1 "$work/slide-in.txt")"

# --- The main screen ---------------------------------------------------------

wait_for_pixel $((width - 30)) 300 "$light" 15 ||
  { screenshot "$backend-screens-no-main" >/dev/null; fail "the opening slide never reached the right edge"; }
sleep 0.5
shot="$(screenshot "$backend-screens-main")" || fail "no screenshot"
expect "$shot" 2 2 "$band" "title band, top left"
expect "$shot" $((width / 2)) 40 "$band" "title band"
expect "$shot" $((width - 2)) 70 "$band" "title band, right"
expect "$shot" 30 $((height / 2)) "$light" "content, left"
expect "$shot" $((width - 30)) 300 "$light" "content, right"
expect "$shot" $((width / 2)) $((height - 100)) "$light" "content, bottom"
expect "$shot" 1 $((height - 5)) "$band" "bottom band, left"
expect "$shot" $((width - 2)) $((height - 5)) "$band" "bottom band, right"
title="$(count "$shot" 15 18 300 70 'r >= 240 && g >= 240 && b >= 240')"
[ "$title" -ge 50 ] || fail "the title band shows $title white pixels in (15..300, 18..70), not the title"
compare_reference "$shot" main "${points_main[@]}"

# --- The results screen after a run -------------------------------------------

click() {
  xdotool mousemove "$1" "$2"
  sleep 0.2
  xdotool click 1
}

# "Run Test" on the main screen (control 1016 at 120..220, 488..520).
click 170 504
await_test_window 20 ||
  { screenshot "$backend-screens-no-test" >/dev/null; fail "no test window appeared after 'Run Test'"; }
await_run_end "$run_limit" ||
  { screenshot "$backend-screens-long-run" >/dev/null; fail "the test run did not end within $run_limit s"; }
# Out of the way of the buttons' pictures.
xdotool mousemove $((width - 5)) $((height / 2))
sleep 0.5
shot="$(screenshot "$backend-screens-results")" || fail "no screenshot"
expect "$shot" $((width / 2)) 40 "$band" "results: title band"
expect "$shot" $((width - 30)) 300 "$light" "results: content"
row=$((height - 130))  # the row of "Return to main screen" and "Submit && Compare"
button="$(count "$shot" 100 $row 352 $((row + 32)) "!(r == 90 && g == 125 && b == 222)")"
[ "$button" -ge 200 ] ||
  fail "the 'Return to main screen' button's area (100..352, $row..$((row + 32))) is plain light blue ($button other pixels)"
heading="$(count "$shot" 60 110 400 140 'r >= 240 && g >= 240 && b >= 240')"
[ "$heading" -ge 50 ] || fail "the 'Detailed Test Results' heading shows $heading white pixels"
compare_reference "$shot" results "${points_results[@]}"

# --- The submit screen --------------------------------------------------------

click $((380 + 126)) $((row + 16))  # "Submit && Compare"
xdotool mousemove $((width - 5)) $((height / 2))
sleep 1
shot="$(screenshot "$backend-screens-submit")" || fail "no screenshot"
for top in 245 305; do
  white="$(count "$shot" 122 $((top + 2)) 368 $((top + 23)) 'r >= 230 && g >= 230 && b >= 230')"
  # 246 x 21 pixels inside the edit's frame; a caret or a border may cross it.
  [ "$white" -ge 4500 ] || fail "the edit at (120..370, $top..$((top + 25))) is not white: $white white pixels"
done
compare_reference "$shot" submit "${points_submit[@]}"

# --- Close: the closing slide, the farewell picture, the end ------------------

click 71 $((height - 41))  # "Close" (30..112, H-53..H-29)
closed_at=$(date +%s%N)
sleep 1.3
centre_lit=0
looked=""
for ((i = 0; i < 20; i++)); do
  shot="$(screenshot "$backend-screens-farewell")" || fail "no screenshot"
  lit="$(count "$shot" $((width / 2 - 40)) $((height / 2 - 30)) $((width / 2 + 40)) $((height / 2 + 30)) 'r + g + b > 30')"
  looked="$looked$((($(date +%s%N) - closed_at) / 1000000)) ms: $lit lit pixels; "
  if [ "$lit" -gt 100 ]; then
    centre_lit=1
    break
  fi
  kill -0 "$PROGRAM_PID" 2>/dev/null || break
  sleep 0.2
done
[ "$centre_lit" = 1 ] ||
  fail "no farewell picture at the centre of the screen after 'Close' (${looked}see $shot)"
for corner in "2 2" "$((width - 3)) 2" "2 $((height - 3))" "$((width - 3)) $((height - 3))"; do
  # shellcheck disable=SC2086
  expect "$shot" $corner "$black" "farewell: corner"
done
compare_reference "$shot" farewell "${points_farewell[@]}"

left=$(awk -v now="$(date +%s%N)" -v t="$closed_at" 'BEGIN { printf "%.1f", 6 - (now - t) / 1e9 }')
wait_for_exit "$left"
[ "$EXIT_CODE" = "0" ] ||
  fail "the program did not exit 0 within 6 s of 'Close' (exit code '$EXIT_CODE'; 124: still running)"
echo "PASS ($((SECONDS - started)) s)"
