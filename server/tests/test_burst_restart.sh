#!/usr/bin/env bash
# A burst of parallel uploads loses nothing and stores nothing twice, also
# when the site is stopped with SIGTERM in the middle of it and started
# again: every upload the site answered 200 is stored once, and an upload
# that was refused while the site was down is sent again until it is taken.
set -uo pipefail
. "$(dirname "$0")/site_lib.sh"

uploads="${BURST_UPLOADS:-300}"
work="$(mktemp -d)"
burst=""
# A failing check must not leave the burst's clients behind, retrying.
trap '[ -n "$burst" ] && kill "$burst" 2>/dev/null; stop_site; rm -rf "$work"' EXIT

start_site "$work/site1.log" --database "sqlite:$work/results.sqlite" --uploads-per-minute 0 --workers 8
upload_query NAME 123 >"$work/query"

# The burst: 32 clients at once; each upload is retried while the site is
# unreachable, and its answers are written to answers.txt.
/usr/bin/python3 - "$SITE_PORT" "$uploads" "$work" <<'PYEOF' &
import concurrent.futures, http.client, sys, time
port, n, work = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
template = open(work + "/query").read().strip()
def upload(i):
    query = template.replace("UserName=NAME", "UserName=burst_%d" % i)
    tries, deadline = 0, time.time() + 60
    while time.time() < deadline:
        tries += 1
        try:
            c = http.client.HTTPConnection("127.0.0.1", port, timeout=20)
            c.request("GET", "/products/quorvel/submitresults.asp?" + query)
            r = c.getresponse()
            body = r.read()
            c.close()
            return "%d %d %d" % (i, r.status, tries)
        except OSError:
            time.sleep(0.05)
    return "%d none %d" % (i, tries)
with concurrent.futures.ThreadPoolExecutor(32) as pool:
    answers = list(pool.map(upload, range(n)))
open(work + "/answers.txt", "w").write("\n".join(answers) + "\n")
PYEOF
burst=$!

# Stop the site once about a third of the burst has been stored.
await_uploads_taken "$work/site1.log" $((uploads / 3))
stop_site
[ "$SITE_EXIT" = "0" ] || site_fail "quorvel-results ended with $SITE_EXIT after SIGTERM"
grep -q "quorvel-results: stopped" "$work/site1.log" || site_fail "no orderly stop in the log"
first="$(grep -c 'submitresults.asp 200' "$work/site1.log")"
sleep 0.3
start_site "$work/site2.log" --database "sqlite:$work/results.sqlite" --uploads-per-minute 0 --workers 8

wait "$burst" || site_fail "the burst's clients failed"
bad="$(grep -v ' 200 ' "$work/answers.txt" | head -n 5)"
[ -z "$bad" ] || site_fail "uploads not answered 200 (upload, status, tries): $bad"
retried="$(awk '$3 > 1' "$work/answers.txt" | wc -l)"

count="$(curl -sf "$SITE_URL/api/results?limit=1" | /usr/bin/python3 -c 'import json,sys; print(json.load(sys.stdin)["count"])')"
[ "$count" = "$uploads" ] || site_fail "$uploads uploads answered 200, but the site holds $count results"
# Every name once: nothing lost, nothing stored twice.
names="$(for ((offset = 0; offset < uploads; offset += 100)); do
  curl -sf "$SITE_URL/api/results?limit=100&offset=$offset"
  echo
done | /usr/bin/python3 -c '
import json, sys
names = [r["userName"] for line in sys.stdin if line.strip() for r in json.loads(line)["results"]]
print(len(set(names)))')"
[ "$names" = "$uploads" ] || site_fail "the site holds $names different names, not $uploads"
stop_site
echo "PASS: $uploads uploads, $first taken before the restart, $retried sent again while it was down"
