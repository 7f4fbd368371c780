#!/usr/bin/env bash
# Two quorvel-results on one PostgreSQL database behind a load balancer
# (both trust 127.0.0.1, from where the test sends each client's address
# in X-Forwarded-For): an upload through one is on the other's page at
# once, highlighted for its sender with its rank and its histogram bin,
# and one client's uploads through both count against one limit.
set -uo pipefail
here="$(dirname "$0")"
if [ -z "${QUORVEL_TEST_POSTGRES:-}" ]; then
  exec bash "$here/with_postgres.sh" bash "$0" "$@"
fi
. "$here/site_lib.sh"

work="$(mktemp -d)"
trap 'kill_sites; rm -rf "$work"' EXIT
start_sites 2 "$work/site.log" --database "$QUORVEL_TEST_POSTGRES" --trusted-proxy 127.0.0.1 \
  --uploads-per-minute 3

# upload SERVER CLIENT NAME SCORE: the HTTP status of the upload.
upload() {
  curl -s -o /dev/null -w '%{http_code}' -H "X-Forwarded-For: $2" \
    "${SITES_URL[$1]}/products/quorvel/submitresults.asp?$(upload_query "$3" "$4")"
}

# Nine other clients' results, 100 to 900, through either server.
for ((i = 1; i <= 9; i++)); do
  [ "$(upload $((i % 2)) "10.0.0.$i" "other_$i" $((i * 100)))" = 200 ] || site_fail "upload $i not taken"
done

# check_page SERVER CLIENT NAME SCORE STORED: the page SERVER shows CLIENT
# highlights NAME with SCORE, ranked among the STORED scores (a comma
# list), in the right bin of a histogram of them all.
check_page() {
  curl -sf -H "X-Forwarded-For: $2" "${SITES_URL[$1]}/results.asp" >"$work/page.html" ||
    site_fail "server $1 did not serve the page"
  /usr/bin/python3 - "$work/page.html" "$3" "$4" "$5" <<'PYEOF' || site_fail "server $1's page for $2 (above)"
import re, sys
html = open(sys.argv[1], encoding="utf-8").read()
name, score = sys.argv[2].replace("_", " "), int(sys.argv[3])
stored = [int(s) for s in sys.argv[4].split(",")]
total = len(stored)
row = re.search(r'<tr id="your-result">(.*?)</tr>', html)
if not row or ">%s<" % name not in row.group(1):
    sys.exit("the highlighted row is not %s's: %s" % (name, row and row.group(1)))
below = sum(1 for s in stored if s < score)
expected = "faster than %d %% of %s results" % (below * 100 // total, format(total, ","))
if expected not in row.group(1):
    sys.exit("no '%s' in %s" % (expected, row.group(1)))
bars = re.findall(r'<rect class="bar( yours)?" data-from="(\d+)" data-count="(\d+)"', html)
if sum(int(c) for _, _, c in bars) != total:
    sys.exit("the histogram holds %d results, not %d" % (sum(int(c) for _, _, c in bars), total))
yours = [(int(f), int(c)) for y, f, c in bars if y]
width = re.search(r'in steps of ([\d,]+)', html).group(1).replace(",", "")
if len(yours) != 1 or not yours[0][0] <= score < yours[0][0] + int(width):
    sys.exit("the marked bin %s does not hold %d (steps of %s)" % (yours, score, width))
if 'data-score="%d"' % score not in html:
    sys.exit("no marker at %d" % score)
PYEOF
}

# api_count SERVER: how many results the server lists.
api_count() {
  curl -sf "${SITES_URL[$1]}/api/results?limit=1" | /usr/bin/python3 -c 'import json,sys; print(json.load(sys.stdin)["count"])'
}

# The visitor uploads through server 0 and looks at server 1's page; then
# the other way round, and the newer result is the one highlighted.
[ "$(upload 0 203.0.113.5 Visitor_First 550)" = 200 ] || site_fail "the visitor's upload through 0"
others="100,200,300,400,500,600,700,800,900"
check_page 1 203.0.113.5 Visitor_First 550 "$others,550"
[ "$(upload 1 203.0.113.5 Visitor_Second 950)" = 200 ] || site_fail "the visitor's upload through 1"
check_page 0 203.0.113.5 Visitor_Second 950 "$others,550,950"
check_page 1 203.0.113.5 Visitor_Second 950 "$others,550,950"
for s in 0 1; do
  [ "$(api_count $s)" = 11 ] || site_fail "server $s lists $(api_count $s) results, not 11"
done
# Another client sees no highlight of the visitor's.
curl -sf -H "X-Forwarded-For: 203.0.113.99" "${SITES_URL[0]}/results.asp" | grep -q 'id="your-result"' &&
  site_fail "another client's page highlights a result"

# The visitor's third upload is taken, through either server; the fourth is not.
[ "$(upload 0 203.0.113.5 Visitor_Third 10)" = 200 ] || site_fail "the visitor's third upload"
for s in 1 0; do
  status="$(upload $s 203.0.113.5 Visitor_Fourth 20)"
  [ "$status" = 429 ] || site_fail "a fourth upload in a minute through server $s was answered $status"
done
[ "$(api_count 1)" = 12 ] || site_fail "server 1 lists $(api_count 1) results, not 12"
stop_sites
echo "PASS: uploads through either of two servers are on the other's page, ranked and binned"
