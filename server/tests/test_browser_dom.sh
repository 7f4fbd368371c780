#!/usr/bin/env bash
# The comparison page in a real browser: headless Chromium loads the site's
# root (which redirects to /results.asp) and the DOM it builds shows this
# address's upload highlighted with its rank, the user's markup as text,
# the histogram with the upload's bin marked, and no e-mail address.
set -uo pipefail
. "$(dirname "$0")/site_lib.sh"

browser="$(command -v chromium || command -v chromium-browser || true)"
[ -n "$browser" ] || site_fail "no chromium (Debian package chromium)"
work="$(mktemp -d)"
trap 'stop_site; rm -rf "$work"' EXIT

start_site "$work/site.log" --database "sqlite:$work/results.sqlite"
for score in 100 200 300 400; do
  curl -sf -o /dev/null "$SITE_URL/products/quorvel/submitresults.asp?$(upload_query "user$score" "$score")" ||
    site_fail "upload of $score was not answered 200"
done
# The visitor's own result, with markup and quotes in the name.
name='%3Cb%3Ebold%3C%2Fb%3E_%26_%22quoted%22'
curl -sf -o /dev/null "$SITE_URL/products/quorvel/submitresults.asp?$(upload_query "$name" 350)" ||
  site_fail "the visitor's upload was not answered 200"

dom="$work/dom.html"
timeout 60 "$browser" --headless --no-sandbox --disable-gpu --no-first-run \
  --user-data-dir="$work/profile" --dump-dom "$SITE_URL/" >"$dom" 2>"$work/chromium.log" ||
  { tail -n 20 "$work/chromium.log" >&2; site_fail "chromium did not load the page"; }

# Reads the DOM Chromium built (not the text the server sent).
/usr/bin/python3 - "$dom" <<'PYEOF' || site_fail "the page's DOM is not as expected (above)"
import sys
from html.parser import HTMLParser

class Dom(HTMLParser):
    def __init__(self):
        super().__init__()
        self.stack, self.ids, self.texts, self.elements = [], {}, {}, []
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        self.elements.append((tag, a, list(self.stack)))
        if tag not in ("br", "meta", "input", "line", "rect", "link"):
            self.stack.append(a.get("id") or tag)
        if "id" in a:
            self.ids[a["id"]] = (tag, a)
            self.texts[a["id"]] = ""
    def handle_endtag(self, tag):
        if self.stack:
            self.stack.pop()
    def handle_data(self, data):
        for i in self.stack:
            if i in self.texts:
                self.texts[i] += data

dom = Dom()
dom.feed(open(sys.argv[1], encoding="utf-8").read())
errors = []
def check(ok, what):
    if not ok:
        errors.append(what)

check("your-result" in dom.ids and dom.ids["your-result"][0] == "tr", "a row with id your-result")
row = dom.texts.get("your-result", "")
check('<b>bold</b> & "quoted"' in row, "the name shown as text in the row: %r" % row)
check("faster than 60 % of 5 results" in row, "the rank in the row: %r" % row)
check(not any(tag == "b" for tag, _, _ in dom.elements), "no <b> element made from the name")
check(not any(tag == "script" for tag, _, _ in dom.elements), "no script on the page")
bars = [a for tag, a, _ in dom.elements if tag == "rect" and "bar" in a.get("class", "").split()]
check(sum(int(a["data-count"]) for a in bars) == 5, "five results in the histogram")
yours = [a for a in bars if "yours" in a.get("class", "").split()]
check(len(yours) == 1 and yours[0]["data-count"] == "1", "one marked bin holding the visitor's result")
check(dom.ids.get("your-score-marker", ("", {}))[1].get("data-score") == "350", "the score marker at 350")
check("histogram" in dom.ids and dom.ids["histogram"][0] == "svg", "the histogram is inline SVG")
check(any(tag == "select" and a.get("name") == "adapter" for tag, a, _ in dom.elements), "an adapter filter")
check(any(tag == "select" and a.get("name") == "os" for tag, a, _ in dom.elements), "an OS filter")
check("someone@example.com" not in open(sys.argv[1], encoding="utf-8").read(), "no e-mail address")
for e in errors:
    print("missing:", e)
sys.exit(1 if errors else 0)
PYEOF

stop_site
[ "$SITE_EXIT" = "0" ] || site_fail "quorvel-results ended with $SITE_EXIT after SIGTERM"
echo PASS
