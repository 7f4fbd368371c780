#!/usr/bin/env bash
# The README's first command, started as a user without a display starts it:
# `bash scripts/run.sh` (with --win32 for the Windows build) from the top of
# a checkout, in a shell with no DISPLAY. It runs the test unattended on an
# Xvfb display of its own, prints the 21-line report, exits 0 and leaves no
# X server behind.
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"

root="${QUORVEL_SOURCE:?}"
if [ "${QUORVEL_BACKEND:-x11}" = win32 ]; then
  args=(--win32)
  built="$root/build/win32/quorvel.exe"
else
  args=()
  built="$root/build/linux/quorvel"
fi
# run.sh builds and starts the program of its own build tree; the sanitizer
# trees have nothing of their own to show here.
if [ "$(realpath -m "$PROGRAM")" != "$(realpath -m "$built")" ]; then
  echo "SKIP: run.sh runs $built, not $PROGRAM"
  exit 77
fi

servers_before="$(pgrep -x Xvfb | sort)"
out="$artifacts/readme-run-${QUORVEL_BACKEND:-x11}.txt"
err="$artifacts/readme-run-${QUORVEL_BACKEND:-x11}.err"
# As a user's shell has it: no display, no Wine settings of the test run.
(cd "$root" && env -u DISPLAY -u WAYLAND_DISPLAY -u WINEPREFIX -u QUORVEL_OWN_DISPLAY \
  timeout 600 bash scripts/run.sh "${args[@]}" </dev/null >"$out" 2>"$err")
status=$?
[ "$status" = 0 ] || fail "bash scripts/run.sh ${args[*]} exited $status: $(tail -n 5 "$err")"
grep -q '^run.sh: no display: running the test unattended on Xvfb :[0-9]' "$err" ||
  fail "run.sh did not say it runs the test unattended: $(tail -n 5 "$err")"

# The report is the last 21 lines (the build's own lines come first).
tr -d '\r' <"$out" | tail -n 21 >"$out.report"
sed -n 1p "$out.report" | grep -qx 'Quorvel Results' || fail "no report: $(tail -n 25 "$out")"
sed -n 21p "$out.report" | grep -qE '^Overall Benchmark Score : [0-9]+$' ||
  fail "the report does not end with the overall score: $(cat "$out.report")"
for label in "Black as transparent" "47% visibility" "50% visibility" "100% visibility"; do
  grep -qE "^  $label : [0-9.]+$" "$out.report" || fail "no score for $label: $(cat "$out.report")"
done

servers_after="$(pgrep -x Xvfb | sort)"
left="$(comm -13 <(echo "$servers_before") <(echo "$servers_after"))"
[ -z "$left" ] || fail "run.sh left Xvfb running: $left"
echo "PASS: $(tail -n 1 "$out.report")"
