# Sourced by the other scripts: starts an Xvfb display for this shell when
# it has none (or when QUORVEL_OWN_DISPLAY=1), and stops it on exit, after
# the exit trap the shell already had (a caller that sets its own trap later
# stops the server in it, with quorvel_stop_xvfb).
# QUORVEL_SCREEN is its screen (1280x1024x24 unless set), QUORVEL_XVFB_ARGS
# more options for it (the tests' "-cc 5" gives a DirectColor screen).
quorvel_start_xvfb() {
  local size="${QUORVEL_SCREEN:-1280x1024x24}"
  if [ -n "${DISPLAY:-}" ] && [ "${QUORVEL_OWN_DISPLAY:-0}" != "1" ]; then
    return 0
  fi
  # The server picks a free display itself and writes its number once it
  # takes connections (-displayfd). Picking one here by its lock file raced
  # with a server still going away on that number: its socket answered the
  # check, and then it was gone.
  local number_file n="" i
  number_file="$(mktemp)"
  # shellcheck disable=SC2086 # the extra options are words
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -ac +extension RANDR ${QUORVEL_XVFB_ARGS:-} \
    3>"$number_file" >/dev/null 2>&1 &
  QUORVEL_XVFB_PID=$!
  # From here on the server goes with the shell, however the shell ends.
  quorvel_stop_xvfb_on_exit
  # Every command here must succeed while the file is still empty: a caller
  # with `set -e` and `pipefail` would end at the first one that does not
  # (sed, unlike grep, succeeds without a match).
  for i in $(seq 1 100); do
    n="$(sed -n '/^[0-9][0-9]*$/{p;q;}' "$number_file" 2>/dev/null)" || n=""
    [ -n "$n" ] && break
    kill -0 "$QUORVEL_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number_file"
  if [ -n "$n" ]; then
    export DISPLAY=":$n"
    if xdpyinfo >/dev/null 2>&1; then
      return 0
    fi
  fi
  quorvel_stop_xvfb
  echo "could not start Xvfb" >&2
  return 1
}

# Stops the server quorvel_start_xvfb started last, if it is still there.
quorvel_stop_xvfb() {
  if [ -n "${QUORVEL_XVFB_PID:-}" ]; then
    # Neither may end a caller that runs with `set -e`: the server may be
    # gone already, and wait gives its status of being stopped.
    kill "$QUORVEL_XVFB_PID" 2>/dev/null || true
    wait "$QUORVEL_XVFB_PID" 2>/dev/null || true
    QUORVEL_XVFB_PID=""
  fi
  return 0
}

# Adds quorvel_stop_xvfb to the shell's exit trap, once, after what the trap
# already does: replacing the trap lost the caller's own cleanup.
quorvel_stop_xvfb_on_exit() {
  # `trap -p EXIT` prints "trap -- 'ACTION' EXIT", quoted for the shell.
  eval "set -- $(trap -p EXIT)"
  local previous="${3:-}"
  case "$previous" in
    *quorvel_stop_xvfb*) ;;
    "") trap quorvel_stop_xvfb EXIT ;;
    *) trap "$previous"$'\n'quorvel_stop_xvfb EXIT ;;
  esac
}
