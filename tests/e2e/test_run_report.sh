#!/usr/bin/env bash
# `quorvel --run` runs the four tests as soon as the window is up and prints
# the 21-line report; its scores parse and add up. Once on the bare display
# and once with a compositing manager (xcompmgr) running. What the desktop
# showed of each test is read back and said: on the bare display no window
# is translucent, so the two translucent tests are shown opaque, which
# standard error says after the report; xcompmgr shows every test as asked.
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"

check_report() {
  # The platform's line ends: CR LF from the Windows build, LF on Linux.
  local out="$1.lf" label="$2"
  tr -d '\r' < "$1" > "$out"
  local lines
  lines="$(wc -l < "$out")"
  # 21 lines; the last ends with the line feed the program adds after the report.
  [ "$lines" = "21" ] || fail "$label: the report has $lines lines, not 21: $(cat "$out")"
  sed -n 1p "$out" | grep -qx 'Quorvel Results' || fail "$label: line 1 is not the title"
  sed -n 3p "$out" | grep -q '^Graphics Card : ' || fail "$label: no graphics card line"
  sed -n 4p "$out" | grep -q '^Current Mode : [0-9]* x [0-9]* x [0-9]* bits ([0-9]* Hz)' ||
    fail "$label: no mode line"
  sed -n 12p "$out" | grep -qx 'Layered Window Tests : ' || fail "$label: line 12 is not the section head"
  /usr/bin/python3 - "$out" "$label" <<'PY' || exit 1
import sys
lines = open(sys.argv[1], encoding="latin-1").read().replace("\r", "").split("\n")
label = sys.argv[2]
want = ["Black as transparent", "47% visibility", "50% visibility", "100% visibility"]
total = 0.0
for i, name in enumerate(want):
    line = lines[13 + i]
    prefix = "  " + name + " : "
    if not line.startswith(prefix):
        sys.exit("FAIL: %s: line %d is %r" % (label, 14 + i, line))
    score = float(line[len(prefix):])
    if score <= 0:
        sys.exit("FAIL: %s: %s scored %r" % (label, name, score))
    total += score
layered = int(total)
if lines[18] != "Overall Layered Windows Score : %d" % layered:
    sys.exit("FAIL: %s: line 19 %r, expected the truncated total %d" % (label, lines[18], layered))
if lines[20] != "Overall Benchmark Score : %d" % layered:
    sys.exit("FAIL: %s: line 21 %r" % (label, lines[20]))
print("%s: total %.4f, score %d" % (label, total, layered))
PY
}

backend="${QUORVEL_BACKEND:-x11}"
# run_and_check LABEL NAME SHOWN: --run with a results file, the report
# checked, and the four tests' verdicts SHOWN (comma-separated).
run_and_check() {
  local label="$1" out="$artifacts/$backend-$2.txt" results="$artifacts/$backend-$2.json"
  local target="$results"
  # The Windows program takes the file's Windows name.
  [ -n "${QUORVEL_WRAPPER:-}" ] && target="$(winepath -w "$results" 2>/dev/null)"
  rm -f "$results"
  start_program --run --results-file "$target" > "$out" 2> "$out.err"
  wait_for_exit 90
  [ "$EXIT_CODE" = "0" ] || fail "$label: --run gave exit code $EXIT_CODE (124: still running after 90 s)"
  check_report "$out" "$label"
  QUORVEL_EXPECT_SHOWN="$3" /usr/bin/python3 "$(dirname "$0")/check_results.py" "$results" 1 "$out" ||
    exit 1
}

run_and_check "bare display" run "as asked,opaque,opaque,as asked"
for label in "47% visibility" "50% visibility"; do
  # The Windows program's lines end in CR LF.
  tr -d '\r' < "$artifacts/$backend-run.txt.err" |
    grep -qx "quorvel: this desktop showed the $label test opaque; its score measures an opaque window" ||
    fail "standard error does not say $label was shown opaque"
done

xcompmgr >/dev/null 2>&1 &
compositor=$!
sleep 0.5
run_and_check "with xcompmgr" run-composited "as asked,as asked,as asked,as asked"
kill "$compositor" 2>/dev/null
wait "$compositor" 2>/dev/null
if grep -q "quorvel: this desktop showed" "$artifacts/$backend-run-composited.txt.err"; then
  fail "with xcompmgr: standard error says a test was not shown as asked"
fi
echo "PASS"
