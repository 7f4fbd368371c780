#!/usr/bin/env bash
# Installs what is missing, builds Quorvel and starts it: the Linux build
# natively, or with --win32 the Windows build under Wine. Other arguments
# go to the program (try --help). On a desktop the window opens as usual.
# Without a $DISPLAY nobody could see or press anything, so the test runs
# unattended (--run) on an Xvfb display of its own and its report is
# printed.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
cd "$root"

preset=linux
if [ "${1:-}" = "--win32" ]; then
  preset=win32
  shift
fi

bash "$here/setup.sh"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target quorvel

unattended=0
if [ -z "${DISPLAY:-}" ]; then
  unattended=1
  case " $* " in
    *" --run "*|*" --help "*|*" -h "*|*" --version "*) ;;
    *) set -- --run "$@" ;;
  esac
fi

. "$here/xvfb.sh"
quorvel_start_xvfb
if [ "$unattended" = 1 ]; then
  echo "run.sh: no display: running the test unattended on Xvfb $DISPLAY (quorvel $*)" >&2
fi

if [ "$preset" = win32 ]; then
  exec_prefix=("$here/wine-run")
  program="build/win32/quorvel.exe"
else
  exec_prefix=()
  program="build/linux/quorvel"
fi
status=0
"${exec_prefix[@]}" "$program" "$@" || status=$?
if [ "$preset" = win32 ] && [ -n "${QUORVEL_XVFB_PID:-}" ]; then
  # Wine's helper processes outlive the program for a few seconds; on a
  # display of our own they must end before it does, or they complain on
  # standard error that their X connection broke.
  WINEPREFIX="${WINEPREFIX:-$root/build/win32/wineprefix}" wineserver -w 2>/dev/null || true
fi
exit "$status"
