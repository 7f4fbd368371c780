# What the site's shell tests share: starting and stopping a real
# quorvel-results on a loopback port, and uploading like the program.
# Needs QUORVEL_RESULTS_SERVER (the program's path).

site_fail() {
  echo "FAIL: $*" >&2
  [ -n "${SITE_LOG:-}" ] && [ -f "$SITE_LOG" ] && { echo "--- server log (tail)" >&2; tail -n 20 "$SITE_LOG" >&2; }
  exit 1
}

# start_site LOG ARGS...: starts the server (--listen 127.0.0.1:${SITE_PORT:-0}
# unless ARGS name one) with its log in LOG; sets SITE_PID, SITE_PORT, SITE_URL.
start_site() {
  SITE_LOG="$1"
  shift
  : >"$SITE_LOG"
  "$QUORVEL_RESULTS_SERVER" --listen "127.0.0.1:${SITE_PORT:-0}" "$@" 2>>"$SITE_LOG" &
  SITE_PID=$!
  local i line
  for ((i = 0; i < 100; i++)); do
    line="$(grep -o 'listening on http://127.0.0.1:[0-9]*' "$SITE_LOG" | tail -n 1)"
    [ -n "$line" ] && break
    kill -0 "$SITE_PID" 2>/dev/null || site_fail "quorvel-results ended at start: $(cat "$SITE_LOG")"
    sleep 0.05
  done
  [ -n "$line" ] || site_fail "quorvel-results did not say where it listens"
  SITE_PORT="${line##*:}"
  SITE_URL="http://127.0.0.1:$SITE_PORT"
}

# stop_site: SIGTERM, then waits; SITE_EXIT is its exit status.
stop_site() {
  SITE_EXIT=""
  [ -n "${SITE_PID:-}" ] || return 0
  kill -TERM "$SITE_PID" 2>/dev/null
  wait "$SITE_PID"
  SITE_EXIT=$?
  SITE_PID=""
}

# start_sites COUNT LOGPREFIX ARGS...: starts COUNT servers at the same
# moment, each on a port of its own with its log in LOGPREFIX.N, and waits
# until every one listens; fails when one ends instead. Sets the arrays
# SITES_PID and SITES_URL (index 0 to COUNT-1).
start_sites() {
  local count="$1" prefix="$2" i
  shift 2
  SITES_PID=()
  SITES_URL=()
  for ((i = 0; i < count; i++)); do
    : >"$prefix.$i"
    "$QUORVEL_RESULTS_SERVER" --listen 127.0.0.1:0 "$@" 2>>"$prefix.$i" &
    SITES_PID[i]=$!
  done
  local tries line
  for ((i = 0; i < count; i++)); do
    line=""
    for ((tries = 0; tries < 400; tries++)); do
      line="$(grep -o 'listening on http://127.0.0.1:[0-9]*' "$prefix.$i" | tail -n 1)"
      [ -n "$line" ] && break
      kill -0 "${SITES_PID[i]}" 2>/dev/null ||
        site_fail "quorvel-results $i of $count ended at start: $(cat "$prefix.$i")"
      sleep 0.05
    done
    [ -n "$line" ] || site_fail "quorvel-results $i of $count did not say where it listens: $(cat "$prefix.$i")"
    SITES_URL[i]="http://127.0.0.1:${line##*:}"
  done
}

# stop_sites: SIGTERM to every server of start_sites, then waits; fails
# when one does not end with status 0.
stop_sites() {
  local pid status failed=""
  for pid in "${SITES_PID[@]}"; do kill -TERM "$pid" 2>/dev/null; done
  for pid in "${SITES_PID[@]}"; do
    wait "$pid"
    status=$?
    [ "$status" = 0 ] || failed="$failed $pid:$status"
  done
  SITES_PID=()
  [ -z "$failed" ] || site_fail "servers that did not stop cleanly (pid:status):$failed"
}

# kill_sites: ends the servers of start_sites without looking at how (for traps).
kill_sites() {
  local pid
  for pid in "${SITES_PID[@]}"; do kill -TERM "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
  SITES_PID=()
}
SITES_PID=()

# await_uploads_taken LOG N: until the site's LOG shows N uploads answered
# 200, at most about 5 s.
await_uploads_taken() {
  local i
  for ((i = 0; i < 250; i++)); do
    [ "$(grep -c 'submitresults.asp 200' "$1")" -ge "$2" ] && return 0
    sleep 0.02
  done
  return 1
}

# The program's upload for user NAME (blanks already as underscores) and SCORE.
upload_query() {
  printf 'VER=103&UserName=%s&email=someone@example.com&cardName=NVIDIA_GeForce2_MX&mode=1024_x_768_x_32_bits_(85_Hz)&Alpha=1&PerPixel=0&grad=1&Overall=%s&AlphaTest=%s&TwoDTest=0&cpu=800&driver=6.13.10.1241&mem=32&cpuMan=GenuineIntel&multiCPU=0&cpuID=x86_Family_6_Model_8_Stepping_3&OS=XP' \
    "$1" "$2" "$2"
}

[ -x "${QUORVEL_RESULTS_SERVER:-}" ] || site_fail "QUORVEL_RESULTS_SERVER must name the quorvel-results program"

unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY all_proxy ALL_PROXY
export no_proxy="127.0.0.1,localhost"
