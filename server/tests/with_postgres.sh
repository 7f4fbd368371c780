#!/usr/bin/env bash
# Runs a command beside a PostgreSQL server of its own: a new cluster in a
# temporary folder, reached only through a unix socket in that folder, and
# removed afterwards. The command finds it in QUORVEL_TEST_POSTGRES (a
# libpq connection URI), and can stop and start it again with
# "$QUORVEL_TEST_POSTGRES_CTL stop" and "... start". initdb refuses to run as root, so as root the
# cluster belongs to the unprivileged user "nobody".
set -uo pipefail

bindir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
[ -x "$bindir/initdb" ] || { echo "with_postgres: no initdb under /usr/lib/postgresql/*/bin (package postgresql)" >&2; exit 1; }

work="$(mktemp -d /tmp/quorvel-pg.XXXXXX)"
as_owner=()
owner="$(id -un)"
if [ "$(id -u)" -eq 0 ]; then
  owner=nobody
  chown nobody "$work"
  as_owner=(runuser -u nobody --)
fi
chmod 700 "$work"

stop() {
  "${as_owner[@]}" "$bindir/pg_ctl" -D "$work/data" -m fast -w stop >/dev/null 2>&1
  rm -rf "$work"
}
trap stop EXIT

"${as_owner[@]}" "$bindir/initdb" -D "$work/data" -U "$owner" --auth=trust -E UTF8 --locale=C.UTF-8 \
  >"$work/initdb.log" 2>&1 || { cat "$work/initdb.log" >&2; echo "with_postgres: initdb failed" >&2; exit 1; }
cat >"$work/ctl" <<CTL
#!/usr/bin/env bash
# stop: at once, as a crash would (open transactions are lost); start: again.
case "\$1" in
  stop) exec ${as_owner[*]} "$bindir/pg_ctl" -D "$work/data" -m immediate -w stop ;;
  start) exec ${as_owner[*]} "$bindir/pg_ctl" -D "$work/data" -l "$work/server.log" -w -t 60 \\
           -o "-k $work -c listen_addresses= -c fsync=off" start ;;
esac
CTL
chmod 755 "$work/ctl"
"$work/ctl" start >/dev/null ||
  { cat "$work/server.log" >&2; echo "with_postgres: the server did not start" >&2; exit 1; }
"${as_owner[@]}" "$bindir/createdb" -h "$work" -U "$owner" quorvel_test ||
  { echo "with_postgres: createdb failed" >&2; exit 1; }

export QUORVEL_TEST_POSTGRES="postgresql:///quorvel_test?host=$work&user=$owner"
export QUORVEL_TEST_POSTGRES_CTL="$work/ctl"
"$@"
