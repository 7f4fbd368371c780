#!/usr/bin/env bash
# `quorvel --run --repeat 3 --results-file F`: three whole sequences in one
# process, the median run's 21-line report on standard output, and a JSON
# results file whose keys and figures are as the README documents them;
# then the same with `--repeat auto`, which ends for any of its documented
# reasons (on a quiet bare display usually "precise" after a few runs).
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"

backend="${QUORVEL_BACKEND:-x11}"
results="$artifacts/$backend-repeat.json"
out="$artifacts/$backend-repeat.txt"
rm -f "$results"
target="$results"
if [ -n "${QUORVEL_WRAPPER:-}" ]; then
  # The Windows program takes the file's Windows name.
  target="$(winepath -w "$results" 2>/dev/null)"
fi
start_program --run --repeat 3 --results-file "$target" > "$out"
wait_for_exit 180
[ "$EXIT_CODE" = "0" ] || fail "--run --repeat 3 gave exit code $EXIT_CODE"
lines="$(tr -d '\r' < "$out" | wc -l)"
[ "$lines" = "21" ] || fail "the report has $lines lines, not 21"
[ -f "$results" ] || fail "no results file at $results"
/usr/bin/python3 "$(dirname "$0")/check_results.py" "$results" 3 "$out" || exit 1
grep -q "\"backend\": \"$backend\"" "$results" || fail "the results file does not name the $backend backend"

# --repeat auto: 3 to 20 runs (about 4 s each here, so at most a minute and
# a half); the time cap of 10 minutes is the fake clock's to test. A
# sanitizer build's runs take several times as long and add nothing the
# plain build's do not show, so it leaves this part out.
if [ "${QUORVEL_SANITIZED:-OFF}" != "ON" ]; then
  rm -f "$results"
  start_program --run --repeat auto --results-file "$target" > "$out"
  wait_for_exit 400
  [ "$EXIT_CODE" = "0" ] || fail "--run --repeat auto gave exit code $EXIT_CODE"
  lines="$(tr -d '\r' < "$out" | wc -l)"
  [ "$lines" = "21" ] || fail "the report of --repeat auto has $lines lines, not 21"
  [ -f "$results" ] || fail "no results file of --repeat auto at $results"
  /usr/bin/python3 "$(dirname "$0")/check_results.py" "$results" auto "$out" || exit 1
fi

# A results file that cannot be written: reported, non-zero, the report still printed.
unwritable="$artifacts/no-such-folder/r.json"
[ -n "${QUORVEL_WRAPPER:-}" ] && unwritable='Z:\no-such-folder\r.json'
start_program --run --results-file "$unwritable" > "$out.2" 2> "$out.err"
wait_for_exit 120
[ "$EXIT_CODE" != "0" ] || fail "an unwritable results file gave exit code 0"
grep -q 'could not write the results file' "$out.err" || fail "no message for the unwritable results file: $(cat "$out.err")"
grep -q 'Overall Benchmark Score : ' "$out.2" || fail "no report printed when the results file failed"
echo "PASS"
