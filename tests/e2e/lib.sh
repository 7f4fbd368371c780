# Helpers of the end-to-end tests: run the real program on the display and
# look at it as a person would, by screenshots.
#   QUORVEL_WRAPPER   runs the program (scripts/wine-run for the Win32 build), may be empty
#   QUORVEL_ARTIFACTS where screenshots are kept
set -uo pipefail

artifacts="${QUORVEL_ARTIFACTS:-/tmp/quorvel-e2e}"
mkdir -p "$artifacts"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# only_backend BACKEND: skips the test (exit 77) for the other backend.
only_backend() {
  if [ "${QUORVEL_BACKEND:-x11}" != "$1" ]; then
    echo "SKIP: the $1 backend only"
    exit 77
  fi
}

# start_program ARGS...: starts the program in the background; PROGRAM_PID.
start_program() {
  if [ -n "${QUORVEL_WRAPPER:-}" ]; then
    "$QUORVEL_WRAPPER" "$PROGRAM" "$@" &
  else
    "$PROGRAM" "$@" &
  fi
  PROGRAM_PID=$!
}

stop_program() {
  if [ -n "${PROGRAM_PID:-}" ] && kill -0 "$PROGRAM_PID" 2>/dev/null; then
    kill "$PROGRAM_PID" 2>/dev/null
    wait "$PROGRAM_PID" 2>/dev/null
  fi
}
trap stop_program EXIT

# screenshot NAME: the whole screen into $artifacts/NAME.png; prints the path.
screenshot() {
  local file="$artifacts/$1.png"
  import -silent -window root "$file" 2>/dev/null || return 1
  echo "$file"
}

# pixel FILE X Y: "R,G,B" of one pixel of a screenshot.
pixel() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null |
    sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# wait_for_pixel X Y RGB SECONDS: until the screen shows RGB at (X, Y).
wait_for_pixel() {
  local deadline=$((SECONDS + $4)) shot
  while [ $SECONDS -lt $deadline ]; do
    if shot="$(screenshot waiting)" && [ "$(pixel "$shot" "$1" "$2")" = "$3" ]; then
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# wait_for_exit SECONDS: sets EXIT_CODE to the program's exit code, or to
# 124 when it is still running after SECONDS (fractions allowed).
wait_for_exit() {
  local tenths
  tenths="$(awk -v s="$1" 'BEGIN { printf "%d", s * 10 }')"
  local i
  for ((i = 0; i < tenths; i++)); do
    kill -0 "$PROGRAM_PID" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$PROGRAM_PID" 2>/dev/null; then
    EXIT_CODE=124
    return
  fi
  wait "$PROGRAM_PID"
  EXIT_CODE=$?
  PROGRAM_PID=""
}

screen_size() {
  xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p'
}

test_window_shown() { [ -n "$(xdotool search --name "Testing Performance" 2>/dev/null)" ]; }

# Waits up to $1 seconds for a test window. One lives for a fraction of a
# second on a fast display: look often, or all four can slip by unseen.
await_test_window() {
  local deadline=$((SECONDS + $1))
  until test_window_shown; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.02
  done
}

# await_main_screen SECONDS: until the opening slide has brought the main
# screen's light blue to the middle and to the right edge, and a little
# after: a click before that may miss its button.
await_main_screen() {
  local width height
  read -r width height < <(screen_size)
  wait_for_pixel $((width / 2)) $((height / 2)) "90,125,222" "$1" &&
    wait_for_pixel $((width - 30)) 300 "90,125,222" 10 || return 1
  sleep 0.5
}

# wait_until SECONDS COMMAND...: polls COMMAND every 0.2 s.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  while [ $SECONDS -lt $deadline ]; do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

# await_run_end SECONDS [QUIET_MS]: after "Run Test", until no test window has
# shown for QUIET_MS (2000) ms; 1 when the run is still going after SECONDS.
await_run_end() {
  local deadline=$((SECONDS + $1)) quiet_ms="${2:-2000}" quiet_since=""
  while :; do
    [ $SECONDS -lt $deadline ] || return 1
    if test_window_shown; then
      quiet_since=""
    elif [ -z "$quiet_since" ]; then
      quiet_since=$(date +%s%N)
    elif [ $((($(date +%s%N) - quiet_since) / 1000000)) -ge "$quiet_ms" ]; then
      return 0
    fi
    sleep 0.2
  done
}

# await_test_run_end LIMIT: after "Run Test", waits for the test run to be
# over: its windows have been gone for 2.5 s (they close and open again
# between the tests). 1: no test window appeared within 20 s; 2: the run
# did not end within LIMIT seconds.
await_test_run_end() {
  await_test_window 20 || return 1
  await_run_end "$1" 2500 || return 2
}

# click X Y: a left click with the pauses a person leaves.
click() {
  xdotool mousemove "$1" "$2"
  sleep 0.2
  xdotool click 1
  sleep 0.5
}

# A window manager has named itself on the root window.
wm_named() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# expect_main_screen WHAT SHOOT: until the screenshots SHOOT prints (default
# `screenshot main`) show the main screen at the right edge, then checks
# that the skin covers the screen: the title band at the top corners and
# middle, the content at the left and bottom, the bottom band at its right.
expect_main_screen() {
  local what="$1" shoot="${2:-screenshot main}" width height
  local band="0,48,156" light="90,125,222"
  read -r width height < <(screen_size)
  local deadline=$((SECONDS + 30)) shot="" seen=""
  while [ $SECONDS -lt $deadline ]; do
    if shot="$($shoot)" && [ "$(pixel "$shot" $((width - 30)) 300)" = "$light" ]; then
      seen=yes
      break
    fi
    sleep 0.3
  done
  [ -n "$seen" ] || fail "$what: the main screen never reached the right edge (see ${shot:-no screenshot})"
  sleep 0.3
  shot="$($shoot)" || fail "$what: no screenshot"
  local point px py colour got
  for point in "2:2:$band" "$((width / 2)):40:$band" "$((width - 2)):70:$band" \
               "30:$((height / 2)):$light" "$((width / 2)):$((height - 100)):$light" \
               "$((width - 2)):$((height - 5)):$band"; do
    IFS=: read -r px py colour <<<"$point"
    got="$(pixel "$shot" "$px" "$py")"
    [ "$got" = "$colour" ] || fail "$what: pixel ($px, $py) is '$got', not $colour (see $shot)"
  done
}

# in_mount_namespace "$0" ARGS...: runs the calling test again in a mount
# namespace of its own (as root, or in a user namespace), where it can mount
# file systems the rest of the machine does not see; skips the test (77)
# where neither is allowed. Returns at once in the namespace.
in_mount_namespace() {
  [ -z "${QUORVEL_IN_MOUNT_NAMESPACE:-}" ] || return 0
  local as=(-m)
  [ "$(id -u)" = 0 ] || as=(-r -m)
  unshare "${as[@]}" true 2>/dev/null || { echo "no mount namespace here: skipped"; exit 77; }
  QUORVEL_IN_MOUNT_NAMESPACE=1 exec unshare "${as[@]}" bash "$@"
}

# small_folder: a new 256 KiB tmpfs in the mount namespace; SMALL_FOLDER.
# Unmounted and removed when the test ends.
small_folder() {
  SMALL_FOLDER="$(mktemp -d)"
  trap 'stop_program; cd /; umount "$SMALL_FOLDER" 2>/dev/null; rm -rf "$SMALL_FOLDER"' EXIT
  mount -t tmpfs -o size=256k tmpfs "$SMALL_FOLDER" || { echo "cannot mount a tmpfs: skipped"; exit 77; }
}
