#!/usr/bin/env bash
# probe_on_compositor.sh weston|sway PROBE: starts the headless compositor on
# a runtime folder of its own, runs quorvel_wayland_probe against it and
# checks what it printed: the compositor's name, the output, 900 answered
# steps and presentation feedback for them. On sway, whose screen grim can
# read, also that the screen shows the test window where the last step put
# it. Stops the compositor and removes the folder whatever happens. Exit 77
# when the compositor is not installed.
set -u
compositor="$1"
probe="$2"

command -v "$compositor" >/dev/null 2>&1 || { echo "$compositor is not installed: skipped"; exit 77; }

runtime="$(mktemp -d)"
chmod 700 "$runtime"
group=""
cleanup() {
  if [ -n "$group" ]; then
    # The compositor's process group: it and whatever it started.
    kill -TERM -- "-$group" 2>/dev/null
    for _ in $(seq 50); do kill -0 -- "-$group" 2>/dev/null || break; sleep 0.1; done
    kill -KILL -- "-$group" 2>/dev/null
    wait "$group" 2>/dev/null
  fi
  rm -rf "$runtime"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- the compositor's log:"; cat "$runtime/log" 2>/dev/null; exit 1; }

case "$compositor" in
  weston)
    XDG_RUNTIME_DIR="$runtime" setsid weston --backend=headless-backend.so --socket=quorvel-probe \
      --width=1280 --height=1024 --idle-time=0 --log="$runtime/log" >/dev/null 2>&1 &
    group=$!
    ;;
  sway)
    # wlroots' headless backend with the software renderer and no input
    # devices. Sway refuses to run as root: then it runs as nobody, on a
    # runtime folder nobody owns.
    printf 'output HEADLESS-1 mode --custom 1280x1024@60Hz\n' >"$runtime/config"
    as=()
    if [ "$(id -u)" = 0 ]; then
      chown -R nobody "$runtime"
      as=(runuser -u nobody --)
    fi
    setsid "${as[@]}" env XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_RENDERER=pixman \
      WLR_LIBINPUT_NO_DEVICES=1 HOME="$runtime" sway -c "$runtime/config" >"$runtime/log" 2>&1 &
    group=$!
    ;;
  *) echo "usage: $0 weston|sway PROBE" >&2; exit 2 ;;
esac

socket=""
for _ in $(seq 100); do
  for candidate in "$runtime"/quorvel-probe "$runtime"/wayland-[0-9]*; do
    if [ -S "$candidate" ]; then socket="$candidate"; break 2; fi
  done
  kill -0 "$group" 2>/dev/null || fail "$compositor ended at start"
  sleep 0.1
done
[ -n "$socket" ] || fail "$compositor's socket did not appear within 10 s"

out="$runtime/probe.txt"
shot="$runtime/screen.png"
# screen_after STEPS FILE: a picture of the screen after the probe's first
# STEPS steps, taken while the probe holds its window up; the probe's exit
# code, its report in $out.
screen_after() {
  timeout 30 "$probe" --display "$socket" --steps "$1" --hold 1500 >"$out" 2>&1 &
  local probe_pid=$!
  for _ in $(seq 50); do grep -q '^clock: \|^frames: not' "$out" && break; sleep 0.1; done
  XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$(basename "$socket")" timeout 10 grim "$2" 2>>"$runtime/log"
  wait "$probe_pid"
}
# pixel FILE X Y: the colour there, RRGGBB.
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: 2>/dev/null | cut -c1-6; }

if [ "$compositor" = sway ] && command -v grim >/dev/null 2>&1; then
  # Before any step the test window is on the screen, at 0, 0.
  first="$runtime/first.png"
  screen_after 0 "$first" || fail "the probe without steps exited with $?: $(cat "$out")"
  [ "$(pixel "$first" 100 100)" = 3060F0 ] ||
    fail "before the steps the test window is not shown at 0, 0: $(pixel "$first" 100 100)"
  screen_after 900 "$shot"
  code=$?
else
  timeout 30 "$probe" --display "$socket" >"$out" 2>&1
  code=$?
fi
cat "$out"
[ "$code" = 0 ] || fail "the probe exited with $code"

line() { sed -n "s/^$1: //p" "$out"; }
[ "$(line compositor)" = "$compositor" ] || fail "the compositor was named '$(line compositor)'"
case "$(line output)" in
  "1280x1024 at "*) ;;
  *) fail "the output is '$(line output)', not 1280x1024" ;;
esac
case "$(line steps)" in
  "900, p50 "*) ;;
  *) fail "steps: '$(line steps)'" ;;
esac
count() { line frames | sed -n "s/.* \([0-9]*\) $1.*/\1/p"; }
presented="$(count presented)"
discarded="$(count discarded)"
[ -n "$presented" ] && [ -n "$discarded" ] || fail "frames: '$(line frames)'"
if [ "$compositor" = weston ]; then
  [ "$presented" -gt 0 ] || fail "weston presented no frame: '$(line frames)'"
else
  # Headless sway 1.7 answers every commit with discarded (its headless
  # output seems to report no frame as shown, though grim reads the moves
  # back below); answered the commits must be.
  [ $((presented + discarded)) -gt 0 ] || fail "sway answered no commit: '$(line frames)'"
fi

if [ -f "$shot" ]; then
  # The steps end with the 300 x 300 test window at (299, 299) on the main
  # window: the window's colour where it is, the main window's where it
  # was at the start.
  [ "$(pixel "$shot" 450 450)" = 3060F0 ] ||
    fail "the test window is not at its last place: $(pixel "$shot" 450 450)"
  [ "$(pixel "$shot" 100 100)" = 204080 ] ||
    fail "the main window does not show where the test window was: $(pixel "$shot" 100 100)"
  echo "screen: the test window at 0, 0 before the steps and at 299, 299 after them"
fi
echo "PASS"
