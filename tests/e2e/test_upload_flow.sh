#!/usr/bin/env bash
# Uploading results as a user does: run the test, press "Submit & Compare",
# type a name and an address, press "Send results...". The request reaches
# the results server (here one on 127.0.0.1 that this test starts), the name
# and address are stored in Quorvel.ini, and the comparison page is opened.
# A second start of the program sends the stored name again without typing.
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"

backend="${QUORVEL_BACKEND:-x11}"
work="$(mktemp -d)"
SERVER_PID=""
ini=""
cleanup() {
  stop_program
  # The Windows folder of the prefix gets back the settings file it had.
  if [ "$backend" = "win32" ] && [ -n "$ini" ]; then
    rm -f "$ini"
    [ -f "$work/Quorvel.ini.saved" ] && cp "$work/Quorvel.ini.saved" "$ini"
  fi
  if [ -n "$SERVER_PID" ]; then
    kill "$SERVER_PID" 2>/dev/null
    wait "$SERVER_PID" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

started=$SECONDS
step=0
shot() {
  step=$((step + 1))
  screenshot "$(printf '%s-upload-%02d-%s' "$backend" "$step" "$1")" >/dev/null
}

# --- The results server: records each request line and User-Agent, answers 200.
cat >"$work/server.py" <<'EOF'
import http.server, sys

requests_file, agents_file, port_file = sys.argv[1:4]

class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(requests_file, "a") as f:
            f.write(self.requestline + "\n")
        with open(agents_file, "a") as f:
            f.write(str(self.headers.get("User-Agent")) + "\n")
        body = b"<html>Thank you</html>"
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass

server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
with open(port_file + ".tmp", "w") as f:
    f.write(str(server.server_address[1]))
import os
os.rename(port_file + ".tmp", port_file)
server.serve_forever()
EOF
python=/usr/bin/python3
[ -x "$python" ] || python=python3
: >"$work/requests.log"
: >"$work/agents.log"
"$python" "$work/server.py" "$work/requests.log" "$work/agents.log" "$work/port" &
SERVER_PID=$!
for ((i = 0; i < 50; i++)); do
  [ -s "$work/port" ] && break
  sleep 0.1
done
[ -s "$work/port" ] || fail "the test's HTTP server did not start"
port="$(cat "$work/port")"
export QUORVEL_RESULTS_URL="http://127.0.0.1:$port"
# The request goes straight to the test's server, whatever proxy this machine has.
unset http_proxy HTTP_PROXY all_proxy ALL_PROXY
export no_proxy="127.0.0.1,localhost"

# --- Opening a web page records the address instead of starting a browser.
mkdir -p "$work/bin"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$1" >>"$work/opened.log"
EOF
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

# --- Where the settings live.
if [ "$backend" = "win32" ]; then
  prefix="${WINEPREFIX:-$(dirname "${QUORVEL_WRAPPER:-}")/../build/win32/wineprefix}"
  ini="$prefix/drive_c/windows/Quorvel.ini"
  [ -f "$ini" ] && cp "$ini" "$work/Quorvel.ini.saved"
  rm -f "$ini"
  run_limit=60
else
  export XDG_CONFIG_HOME="$work/config"
  ini="$XDG_CONFIG_HOME/Quorvel.ini"
  run_limit=30
fi

read -r width height < <(screen_size)
[ "$height" -gt 700 ] || fail "the screen is ${width}x${height}; this test needs one taller than 700 pixels"

wait_for_test_run() {
  await_test_run_end "$run_limit"
  case $? in
    1) shot no-test-window; fail "no test window appeared after 'Run Test'" ;;
    2) shot test-run-too-long; fail "the test run did not end within $run_limit s" ;;
  esac
}

requests_seen() { [ "$(wc -l <"$work/requests.log")" -ge "$1" ]; }
pages_opened() { [ "$(cat "$work/opened.log" 2>/dev/null | wc -l)" -ge "$1" ]; }

# upload_once N [NAME EMAIL]: starts the program, runs the test and sends
# the results, typing NAME and EMAIL when given; waits for request N.
upload_once() {
  local n="$1" name="${2:-}" email="${3:-}"
  start_program
  await_main_screen 30 ||
    { shot no-window; fail "run $n: the main screen never showed its light blue"; }
  shot "run$n-main"

  click 170 504  # "Run Test" on the main screen
  wait_for_test_run
  shot "run$n-results"

  click $((380 + 126)) $((height - 130 + 16))  # "Submit & Compare"
  shot "run$n-submit"
  if [ -n "$name" ]; then
    click 245 257  # the name
    xdotool type --delay 40 "$name"
    click 245 317  # the e-mail address
    xdotool type --delay 40 "$email"
    sleep 0.3
    shot "run$n-typed"
  fi
  local before_send=$SECONDS
  click 302 371  # "Send results..."
  wait_until 30 requests_seen "$n" ||
    { shot "run$n-no-request"; fail "run $n: the results server got no request within 30 s of 'Send results...'"; }
  echo "run $n: request $((SECONDS - before_send)) s after 'Send results...'"
  # Status 200: the comparison page opens after the program's 1 s pause.
  # Under Wine, ShellExecute hands it to winebrowser, which may reach
  # xdg-open or not: there the program only must not hang.
  if ! wait_until 10 pages_opened "$n"; then
    [ "$backend" = "win32" ] ||
      { shot "run$n-no-page"; fail "run $n: the comparison page was not opened after the answer 200"; }
  fi
  shot "run$n-sent"

  kill -0 "$PROGRAM_PID" 2>/dev/null || fail "run $n: the program ended during the upload"
  xdotool key Escape
  wait_for_exit 10
  [ "$EXIT_CODE" = "0" ] || { shot "run$n-no-exit"; fail "run $n: after Esc the program gave '$EXIT_CODE' (124: still running after 10 s)"; }
}

check_request() {
  local line="$1" what="$2"
  local prefix="GET /products/quorvel/submitresults.asp?VER=103&UserName=Test_User&email=a@b.c&cardName="
  [[ "$line" == "$prefix"* ]] || fail "$what: the request line does not start with the expected query: $line"
  [[ "$line" =~ \&OS=(XP|2000)\ HTTP/1\.[01]$ ]] || fail "$what: the request line does not end in &OS=XP or &OS=2000: $line"
}

# --- First run: type the identity and send.
upload_once 1 "Test User" "a@b.c"
[ "$(wc -l <"$work/requests.log")" = "1" ] || fail "one send made $(wc -l <"$work/requests.log") requests"
check_request "$(sed -n 1p "$work/requests.log")" "first upload"
[ "$(sed -n 1p "$work/agents.log")" = "My Session" ] ||
  fail "the User-Agent was '$(sed -n 1p "$work/agents.log")', not 'My Session'"

[ -f "$ini" ] || fail "no settings file at $ini"
settings="$(tr -d '\r' <"$ini")"
grep -qx '\[QUORVEL\]' <<<"$settings" || fail "no [QUORVEL] section in $ini: $settings"
grep -qx 'NAME=Test User' <<<"$settings" || fail "no NAME=Test User in $ini: $settings"
grep -qx 'MAIL=a@b.c' <<<"$settings" || fail "no MAIL=a@b.c in $ini: $settings"

# --- Second run: the stored identity fills the fields; send without typing.
upload_once 2
[ "$(wc -l <"$work/requests.log")" = "2" ] ||
  fail "after the second send the server had $(wc -l <"$work/requests.log") requests, not 2"
check_request "$(sed -n 2p "$work/requests.log")" "second upload (stored identity)"

# Every page opened is the comparison page of the server that took the
# upload (under Wine possibly none).
page="http://127.0.0.1:$port/results.asp"
while read -r opened; do
  [ "$opened" = "$page" ] || fail "the page opened was '$opened', not $page"
done < <(cat "$work/opened.log" 2>/dev/null)
echo "comparison page opened: $(wc -l < <(cat "$work/opened.log" 2>/dev/null)) time(s)"

echo "PASS ($((SECONDS - started)) s)"
