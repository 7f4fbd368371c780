# Sourced by the other scripts: starts an Xvfb display for this shell when
# it has none (or when QUORVEL_OWN_DISPLAY=1), and stops it on exit.
# QUORVEL_SCREEN is its screen (1280x1024x24 unless set), QUORVEL_XVFB_ARGS
# more options for it (the tests' "-cc 5" gives a DirectColor screen).
quorvel_start_xvfb() {
  local size="${QUORVEL_SCREEN:-1280x1024x24}"
  if [ -n "${DISPLAY:-}" ] && [ "${QUORVEL_OWN_DISPLAY:-0}" != "1" ]; then
    return 0
  fi
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
      # shellcheck disable=SC2086 # the extra options are words
      Xvfb ":$n" -screen 0 "$size" -nolisten tcp -ac +extension RANDR ${QUORVEL_XVFB_ARGS:-} \
        >/dev/null 2>&1 &
      QUORVEL_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        if xdpyinfo >/dev/null 2>&1; then
          trap 'kill "$QUORVEL_XVFB_PID" 2>/dev/null || true' EXIT
          return 0
        fi
        sleep 0.1
      done
      kill "$QUORVEL_XVFB_PID" 2>/dev/null || true
    fi
  done
  echo "could not start Xvfb" >&2
  return 1
}
