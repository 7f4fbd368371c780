#!/usr/bin/env bash
# The program starts as a window covering the whole screen in the skin's
# light blue, and Esc ends it at once with exit code 0.
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"

read -r width height < <(screen_size)
start_program
wait_for_pixel $((width / 2)) $((height / 2)) "90,125,222" 20 ||
  fail "the window never showed the light blue at the centre of the screen"

shot="$(screenshot "${QUORVEL_BACKEND:-x11}-started")"
for point in "1 1" "$((width - 2)) 1" "1 $((height - 2))" "$((width - 2)) $((height - 2))" \
             "$((width / 3)) $((height / 4))"; do
  set -- $point
  got="$(pixel "$shot" "$1" "$2")"
  [ "$got" = "90,125,222" ] || fail "pixel ($1, $2) is $got, not the light blue: the window does not cover the screen"
done

xdotool mousemove $((width / 2)) $((height / 2))
xdotool key Escape
wait_for_exit 2
[ "$EXIT_CODE" = "0" ] || fail "after Esc the program gave '$EXIT_CODE' (124: still running after 2 s)"
echo "PASS"
