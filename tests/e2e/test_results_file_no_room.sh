#!/usr/bin/env bash
# `--run --results-file` where the file cannot be written: on a full disk and
# in a read-only folder the report is still printed, the exit status is 5,
# standard error says why, and the old results file is left as it was with no
# temporary file beside it. The folder is a small tmpfs mounted in a mount
# namespace of the test's own (as root, or in a user namespace); where
# neither is allowed the test is skipped. The Linux program only.
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"
[ "${QUORVEL_BACKEND:-x11}" = "x11" ] || exit 77

in_mount_namespace "$0" "$PROGRAM"

small_folder
folder="$SMALL_FOLDER"
old='{"old": "results"}'
printf '%s' "$old" > "$folder/results.json"

# run_into CASE REASON: one run whose results file cannot be written.
run_into() {
  local label="$1" reason="$2"
  start_program --run --results-file "$folder/results.json" > "$artifacts/no-room-$label.out" \
    2> "$artifacts/no-room-$label.err"
  wait_for_exit 120
  [ "$EXIT_CODE" = "5" ] || fail "$label: exit status $EXIT_CODE, not 5"
  grep -q '^Overall Benchmark Score : [0-9]' "$artifacts/no-room-$label.out" ||
    fail "$label: no report on standard output"
  grep -q "could not write the results file $folder/results.json: $reason" "$artifacts/no-room-$label.err" ||
    fail "$label: standard error does not say '$reason': $(cat "$artifacts/no-room-$label.err")"
  [ "$(cat "$folder/results.json")" = "$old" ] || fail "$label: the old results file changed"
}

# Full: one file takes all the room there is.
dd if=/dev/zero of="$folder/filler" bs=4k 2>/dev/null
run_into full "No space left on device"
[ "$(ls "$folder" | sort | tr '\n' ' ')" = "filler results.json " ] ||
  fail "full: files left behind: $(ls "$folder")"

rm -f "$folder/filler"
mount -o remount,ro "$folder" || fail "cannot make the folder read-only"
run_into read-only "Read-only file system"
echo "PASS"
