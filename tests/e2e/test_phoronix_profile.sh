#!/usr/bin/env bash
# The Phoronix Test Suite profile in contrib/phoronix/quorvel: its XML files
# parse, its install script writes a wrapper that runs `quorvel --run` into
# $LOG_FILE, and its results parser's template finds the overall score in
# what the program printed, as the test suite reads it.
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"
if [ "${QUORVEL_BACKEND:-x11}" != "x11" ]; then
  echo "SKIP: the profile runs the Linux program"
  exit 77
fi
profile="${QUORVEL_SOURCE:-$(dirname "$0")/../..}/contrib/phoronix/quorvel"
work="$(mktemp -d)"
trap 'stop_program; rm -rf "$work"' EXIT
cp -r "$profile"/. "$work/"
cd "$work" || fail "no work folder"

HOME="$work" QUORVEL_BINARY="$PROGRAM" sh ./install.sh || fail "install.sh failed"
[ "$(cat "$work/install-exit-status")" = "0" ] || fail "install.sh reported a failure"
[ -x ./quorvel ] || fail "install.sh wrote no executable wrapper"
# Without the program it says so and reports the failure.
if HOME="$work/none" QUORVEL_BINARY=/nonexistent PATH=/usr/bin:/bin sh ./install.sh 2>/dev/null; then
  fail "install.sh succeeded without a program"
fi

LOG_FILE="$work/log.txt" HOME="$work" ./quorvel || fail "the wrapper failed"
[ "$(cat "$work/test-exit-status")" = "0" ] || fail "the run's exit status was $(cat "$work/test-exit-status")"
/usr/bin/python3 - "$work" <<'PY' || exit 1
import re, sys, xml.etree.ElementTree as ET
work = sys.argv[1]
definition = ET.parse(work + "/test-definition.xml").getroot()
for path in ("TestInformation/Title", "TestInformation/ResultScale", "TestInformation/Proportion",
             "TestProfile/Version", "TestProfile/SupportedPlatforms", "TestProfile/TestType"):
    if definition.find(path) is None or not definition.find(path).text:
        sys.exit("FAIL: test-definition.xml has no %s" % path)
if definition.find("TestInformation/Proportion").text != "HIB":
    sys.exit("FAIL: a higher score is better")
parser = ET.parse(work + "/results-definition.xml").getroot().find("ResultsParser")
template = parser.find("OutputTemplate").text
hint = parser.find("LineHint").text
# The test suite matches the template's words around #_RESULT_# on the line
# the hint names, and takes the word in the result's place.
line = [l for l in open(work + "/log.txt", encoding="latin-1") if hint in l][-1].strip()
pattern = re.escape(template).replace(re.escape("#_RESULT_#"), r"(\S+)")
found = re.fullmatch(pattern, line)
if not found or not found.group(1).isdigit() or int(found.group(1)) <= 0:
    sys.exit("FAIL: the template %r does not read a score from %r" % (template, line))
print("profile reads the score %s" % found.group(1))
PY
echo "PASS"
