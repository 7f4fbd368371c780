#!/usr/bin/env bash
# PostgreSQL stops in the middle of a burst of uploads, as a crash would:
# while it is down every upload is answered 503 and the site keeps running;
# once it is back the site takes uploads again without a restart, and it
# holds every upload it answered 200, each once and whole.
set -uo pipefail
here="$(dirname "$0")"
if [ -z "${QUORVEL_TEST_POSTGRES_CTL:-}" ]; then
  exec bash "$here/with_postgres.sh" bash "$0" "$@"
fi
. "$here/site_lib.sh"

work="$(mktemp -d)"
trap 'stop_site; rm -rf "$work"' EXIT
start_site "$work/site.log" --database "$QUORVEL_TEST_POSTGRES" --uploads-per-minute 0 --workers 8
upload_query NAME 123 >"$work/query"

# 8 clients upload results, each upload once, until the test has seen the
# database stopped and 200 are sent (at most 20000): a fixed burst could end
# before the stop took effect. The answers go to answers.txt.
/usr/bin/python3 - "$SITE_PORT" 200 "$work" <<'PYEOF' &
import http.client, os, sys, threading
port, n, work = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
template = open(work + "/query").read().strip()
def upload(i):
    query = template.replace("UserName=NAME", "UserName=burst_%d" % i)
    c = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
    c.request("GET", "/products/quorvel/submitresults.asp?" + query)
    status = c.getresponse().status
    c.close()
    return "%d %d" % (i, status)
def indices():
    i = 0
    while i < 20000 and (i < n or not os.path.exists(work + "/stopped")):
        yield i
        i += 1
# Each client takes the next upload when it is free, so the test's mark is
# looked at as the uploads go out (Executor.map would take every index at
# the start).
lock = threading.Lock()
pending = indices()
answers, failures = [], []
def client():
    while True:
        with lock:
            i = next(pending, None)
        if i is None:
            return
        try:
            answer = upload(i)
        except Exception as e:  # no answer at all: the burst fails
            with lock:
                failures.append("%d: %r" % (i, e))
            return
        with lock:
            answers.append(answer)
clients = [threading.Thread(target=client) for _ in range(8)]
for t in clients:
    t.start()
for t in clients:
    t.join()
open(work + "/answers.txt", "w").write("\n".join(answers) + "\n")
if failures:
    sys.exit("uploads without an answer: %s" % failures[:5])
PYEOF
burst=$!

await_uploads_taken "$work/site.log" 40
"$QUORVEL_TEST_POSTGRES_CTL" stop >/dev/null || site_fail "PostgreSQL did not stop"
sleep 0.2  # some uploads while it is down
touch "$work/stopped"
wait "$burst" || site_fail "the burst's clients failed"
kill -0 "$SITE_PID" 2>/dev/null || site_fail "the site ended when its database went away"

odd="$(awk '$2 != 200 && $2 != 503' "$work/answers.txt" | head -n 5)"
[ -z "$odd" ] || site_fail "answers other than 200 and 503 (upload, status): $odd"
refused="$(awk '$2 == 503' "$work/answers.txt" | wc -l)"
[ "$refused" -gt 0 ] || site_fail "no upload was answered 503 while the database was down"
status="$(curl -s -o /dev/null -w '%{http_code}' "$SITE_URL/results.asp")"
[ "$status" = 503 ] || site_fail "the page was answered $status, not 503, without its database"

"$QUORVEL_TEST_POSTGRES_CTL" start >/dev/null || site_fail "PostgreSQL did not start again"
status="$(curl -s -o /dev/null -w '%{http_code}' "$SITE_URL/products/quorvel/submitresults.asp?$(upload_query after_restart 77)")"
[ "$status" = 200 ] || site_fail "an upload after the database came back was answered $status"

/usr/bin/python3 - "$work" "$SITE_PORT" <<'PYEOF' || site_fail "the stored results are not the uploads answered 200"
import collections, http.client, json, sys
work, port = sys.argv[1], int(sys.argv[2])
# Every page of the stored results.
rows = []
while True:
    c = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
    c.request("GET", "/api/results?limit=100&offset=%d" % len(rows))
    r = c.getresponse()
    if r.status != 200:
        sys.exit("no results list: %d" % r.status)
    page = json.loads(r.read())["results"]
    c.close()
    rows += page
    if len(page) < 100:
        break
# The site shows the program's underscores as blanks.
taken = {"burst " + l.split()[0] for l in open(work + "/answers.txt") if l.split()[1] == "200"}
taken.add("after restart")
names = collections.Counter(r["userName"] for r in rows)
twice = [n for n, c in names.items() if c > 1]
missing = taken - set(names)
extra = set(names) - taken
broken = [r["userName"] for r in rows if r["cardName"] != "NVIDIA GeForce2 MX" or r["cpuMan"] != "GenuineIntel"]
for what, found in (("stored twice", twice), ("answered 200 but missing", missing),
                    ("stored in part", broken)):
    if found:
        sys.exit("%s: %s" % (what, sorted(found)[:5]))
# An upload whose commit reached the database just before it died may have
# lost only its answer: at most the 8 uploads in flight then.
if len(extra) > 8:
    sys.exit("stored but answered 503: %s" % sorted(extra)[:10])
print("%d taken, stored once each; %d more committed as the database died" % (len(taken), len(extra)))
PYEOF
stop_site
echo "PASS: $refused uploads answered 503 while PostgreSQL was down; the site took uploads again after"
