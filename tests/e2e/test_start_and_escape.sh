#!/usr/bin/env bash
# The program starts as a window covering the whole screen with the skin:
# the band-blue title band at the top, the light-blue content, the band-blue
# bottom band; Esc ends it at once with exit code 0.
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"

read -r width height < <(screen_size)
start_program
wait_for_pixel $((width / 2)) $((height / 2)) "90,125,222" 20 ||
  fail "the window never showed the light blue at the centre of the screen"
# The content slides in from the left: wait until it reaches the right edge.
wait_for_pixel $((width - 30)) 300 "90,125,222" 10 ||
  fail "the opening slide never reached the right edge"

shot="$(screenshot "${QUORVEL_BACKEND:-x11}-started")"
check() {
  local got
  got="$(pixel "$shot" "$1" "$2")"
  [ "$got" = "$3" ] || fail "pixel ($1, $2) is $got, not $3 ($4): the window does not cover the screen"
}
check 1 1 "0,48,156" "title band, top left"
check $((width / 2)) 40 "0,48,156" "title band"
check $((width - 2)) $((height - 5)) "0,48,156" "bottom band, right"
check 1 $((height - 5)) "0,48,156" "bottom band, left"
check $((width - 30)) 300 "90,125,222" "content, right"
check 30 $((height / 2)) "90,125,222" "content, left"

xdotool mousemove $((width / 2)) $((height / 2))
xdotool key Escape
wait_for_exit 2
[ "$EXIT_CODE" = "0" ] || fail "after Esc the program gave '$EXIT_CODE' (124: still running after 2 s)"
echo "PASS"
