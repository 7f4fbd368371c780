#!/usr/bin/env bash
# End to end: the real desktop program, pointed at a real quorvel-results
# by QUORVEL_RESULTS_URL, runs its test and uploads through its GUI as a
# user does ("Submit & Compare", a name, "Send results..."). The site
# stores the result, the program sends the browser (a stand-in for
# xdg-open, first on PATH) to the site's own comparison page, and that
# page, loaded in headless Chromium, shows the upload highlighted.
# Needs a display ($DISPLAY, as scripts/test.sh gives).
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
PROGRAM="${QUORVEL_PROGRAM:?QUORVEL_PROGRAM must name the quorvel program}"
. "$QUORVEL_SOURCE/tests/e2e/lib.sh"
. "$here/site_lib.sh"
[ -n "${DISPLAY:-}" ] || fail "no display: run on Xvfb (scripts/test.sh starts one)"
browser="$(command -v chromium || true)"
[ -n "$browser" ] || fail "no chromium (Debian package chromium)"

work="$(mktemp -d)"
cleanup() {
  stop_program
  stop_site
  rm -rf "$work"
}
trap cleanup EXIT
shot() { screenshot "x11-site-upload-$1" >/dev/null; }

start_site "$work/site.log" --database "sqlite:$work/results.sqlite"
export QUORVEL_RESULTS_URL="$SITE_URL"
export XDG_CONFIG_HOME="$work/config"

# Opening a web page records the address instead of starting a browser.
mkdir -p "$work/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/opened.log"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

read -r width height < <(screen_size)
[ "$height" -gt 700 ] || fail "the screen is ${width}x${height}; this test needs one taller than 700 pixels"

start_program
await_main_screen 30 ||
  { shot no-window; fail "the main screen never showed its light blue"; }
click 170 504  # "Run Test"
await_test_run_end 30
case $? in
  1) shot no-test-window; fail "no test window appeared after 'Run Test'" ;;
  2) shot test-run-too-long; fail "the test run did not end within 30 s" ;;
esac
click $((380 + 126)) $((height - 130 + 16))  # "Submit & Compare"
click 245 257  # the name
xdotool type --delay 40 "Site Tester"
click 245 317  # the e-mail address
xdotool type --delay 40 "tester@example.com"
click 302 371  # "Send results..."

opened() { [ -s "$work/opened.log" ]; }
wait_until 30 opened || { shot no-page; fail "no page was opened after 'Send results...'"; }
page="$(head -n 1 "$work/opened.log")"
[ "$page" = "$SITE_URL/results.asp" ] || fail "the page opened was '$page', not $SITE_URL/results.asp"
grep -q 'GET /products/quorvel/submitresults.asp 200' "$work/site.log" ||
  fail "the site did not take the upload: $(cat "$work/site.log")"
xdotool key Escape
wait_for_exit 10

# The browser, sent to that page, shows the upload highlighted.
timeout 60 "$browser" --headless --no-sandbox --disable-gpu --no-first-run \
  --user-data-dir="$work/profile" --dump-dom "$page" >"$work/dom.html" 2>"$work/chromium.log" ||
  fail "chromium did not load $page"
/usr/bin/python3 - "$work/dom.html" <<'PYEOF' || fail "the page does not show the upload highlighted"
import re, sys
from html.parser import HTMLParser

class Row(HTMLParser):
    def __init__(self):
        super().__init__()
        self.depth, self.text = 0, ""
    def handle_starttag(self, tag, attrs):
        if self.depth:
            self.depth += 1
        elif tag == "tr" and dict(attrs).get("id") == "your-result":
            self.depth = 1
    def handle_endtag(self, tag):
        if self.depth:
            self.depth -= 1
    def handle_data(self, data):
        if self.depth:
            self.text += data

row = Row()
dom = open(sys.argv[1], encoding="utf-8").read()
row.feed(dom)
print("highlighted row:", row.text)
ok = "Site Tester" in row.text and re.search(r"faster than \d+ % of 1 result", row.text)
ok = ok and "tester@example.com" not in dom
sys.exit(0 if ok else 1)
PYEOF
stop_site
[ "$SITE_EXIT" = "0" ] || fail "quorvel-results ended with $SITE_EXIT after SIGTERM"
echo PASS
