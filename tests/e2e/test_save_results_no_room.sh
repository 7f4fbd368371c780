#!/usr/bin/env bash
# "Save Results" in a folder on a full disk: the program says why in a
# message box titled "Save results", and the results.txt already there is
# left as it was with no temporary file beside it. The folder is a small
# tmpfs mounted in a mount namespace of the test's own (as root, or in a user
# namespace); where neither is allowed the test is skipped. The Linux
# program only.
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"
[ "${QUORVEL_BACKEND:-x11}" = "x11" ] || exit 77

in_mount_namespace "$0" "$PROGRAM"

small_folder
folder="$SMALL_FOLDER"
printf 'old results\r\n' > "$folder/results.txt"
dd if=/dev/zero of="$folder/filler" bs=4k 2>/dev/null

read -r width height < <(screen_size)
[ "$height" -ge 700 ] || { echo "Save Results shows on screens 700 pixels tall or more: skipped"; exit 77; }
cd "$folder" || fail "cannot enter $folder"
start_program
await_main_screen 30 || fail "the main screen did not come up"
click 170 504  # "Run Test"
await_test_run_end 120 || fail "the test run did not start or end"
sleep 1
click 226 $((height - 130 + 16))  # "Return to main screen" on the results screen
sleep 2
click 426 544  # "Save Results"
wait_until 10 sh -c 'xdotool search --name "^Save results$" >/dev/null 2>&1' ||
  { screenshot save-no-room >/dev/null; fail "no 'Save results' message box"; }
[ "$(cat "$folder/results.txt")" = "$(printf 'old results\r\n')" ] || fail "results.txt changed"
[ "$(ls "$folder" | sort | tr '\n' ' ')" = "filler results.txt " ] ||
  fail "files left behind: $(ls "$folder")"
xdotool key Return
sleep 0.5
xdotool key Escape
wait_for_exit 10
[ "$EXIT_CODE" = "0" ] || fail "the program ended with $EXIT_CODE after Esc"
echo "PASS"
