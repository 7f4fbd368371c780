#!/usr/bin/env bash
# Installs what is missing, builds Quorvel and starts it: the Linux build
# natively, or with --win32 the Windows build under Wine. Without a
# $DISPLAY it runs on an Xvfb display of its own. Other arguments go to the
# program (try --help).
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

. "$here/xvfb.sh"
quorvel_start_xvfb

if [ "$preset" = win32 ]; then
  exec_prefix=("$here/wine-run")
  program="build/win32/quorvel.exe"
else
  exec_prefix=()
  program="build/linux/quorvel"
fi
"${exec_prefix[@]}" "$program" "$@"
