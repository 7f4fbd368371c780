#!/usr/bin/env bash
# Several quorvel-results started at the same moment on a new database, a
# PostgreSQL database and a SQLite file: each comes up and serves the
# others' uploads, and the database holds the schema once, as one server
# started alone makes it (one version row, one counter row).
set -uo pipefail
here="$(dirname "$0")"
if [ -z "${QUORVEL_TEST_POSTGRES:-}" ]; then
  exec bash "$here/with_postgres.sh" bash "$0" "$@"
fi
. "$here/site_lib.sh"

sites="${CONCURRENT_SITES:-4}"
rounds="${CONCURRENT_ROUNDS:-3}"
work="$(mktemp -d)"
trap 'kill_sites; rm -rf "$work"' EXIT
export PGOPTIONS="-c client_min_messages=warning"

# The URI of database NAME on the test's PostgreSQL server, made empty.
fresh_postgres() {
  psql -X -q -v ON_ERROR_STOP=1 "$QUORVEL_TEST_POSTGRES" -c "DROP DATABASE IF EXISTS $1" -c "CREATE DATABASE $1" ||
    site_fail "cannot make the database $1"
  echo "${QUORVEL_TEST_POSTGRES/\/\/\/quorvel_test?/\/\/\/$1?}"
}

# describe LOCATION: the schema of the database and the rows of its
# one-row tables, as text to compare.
describe() {
  case "$1" in
    sqlite:*)
      /usr/bin/python3 - "${1#sqlite:}" <<'PYEOF'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
for row in db.execute("SELECT type, name, sql FROM sqlite_master ORDER BY type, name"):
    print(row)
for table in ("schema_version", "result_counter"):
    print(table, db.execute("SELECT * FROM " + table).fetchall())
PYEOF
      ;;
    *)
      # (without comments, blank lines and the random keys of \restrict)
      pg_dump --schema-only --no-owner "$1" | grep -v -e '^--' -e '^$' -e '^\\'
      for table in schema_version result_counter; do
        echo "$table: $(psql -X -At "$1" -c "SELECT * FROM $table" | tr '\n' ' ')"
      done
      ;;
  esac
}

# start_together LOCATION ROUND: $sites servers at once on LOCATION, an
# upload through each, and every upload on every server's list.
start_together() {
  local location="$1" round="$2" i count
  start_sites "$sites" "$work/site-$round.log" --database "$location" --uploads-per-minute 0
  for ((i = 0; i < sites; i++)); do
    curl -sf -o /dev/null "${SITES_URL[i]}/results.asp" || site_fail "server $i does not serve the page"
    curl -sf -o /dev/null "${SITES_URL[i]}/products/quorvel/submitresults.asp?$(upload_query "through_$i" $((100 + i)))" ||
      site_fail "server $i did not take an upload"
  done
  for ((i = 0; i < sites; i++)); do
    count="$(curl -sf "${SITES_URL[i]}/api/results?limit=1" | /usr/bin/python3 -c 'import json,sys; print(json.load(sys.stdin)["count"])')"
    [ "$count" = "$sites" ] || site_fail "server $i lists $count results, not the $sites uploaded"
  done
  stop_sites
}

for kind in sqlite postgresql; do
  # The schema as one server alone makes it.
  if [ "$kind" = sqlite ]; then reference="sqlite:$work/reference.sqlite"; else reference="$(fresh_postgres alone)"; fi
  start_sites 1 "$work/alone-$kind.log" --database "$reference"
  stop_sites
  describe "$reference" >"$work/expected-$kind" || site_fail "cannot read the schema of $reference"
  grep -q "result_counter" "$work/expected-$kind" || site_fail "no counter table in $(cat "$work/expected-$kind")"

  for ((round = 1; round <= rounds; round++)); do
    if [ "$kind" = sqlite ]; then location="sqlite:$work/together-$round.sqlite"; else location="$(fresh_postgres together_$round)"; fi
    start_together "$location" "$kind-$round"
    describe "$location" | sed 's/through_[0-9]*//' >"$work/found-$kind-$round"
    # The uploads of the round are rows of results, not of the schema:
    # only the counter's number differs from the reference.
    diff <(sed -E 's/^(result_counter[^0-9]*)[0-9]+/\1N/' "$work/expected-$kind") \
      <(sed -E 's/^(result_counter[^0-9]*)[0-9]+/\1N/' "$work/found-$kind-$round") >"$work/diff" ||
      site_fail "$kind round $round: the schema differs from one server's: $(cat "$work/diff")"
  done
done
echo "PASS: $rounds rounds of $sites servers started together on SQLite and on PostgreSQL"
