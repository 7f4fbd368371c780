#!/usr/bin/env bash
# Installs what is missing, builds both backends, the sanitizer builds and
# the fuzz targets, and runs every test: natively and under Wine, the native
# suite again under AddressSanitizer, the threaded tests under
# ThreadSanitizer and each fuzz target for a bounded time, on an Xvfb display
# of its own. Ends with one line "Tests: N passed, N failed".
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
cd "$root"

step() { printf '\n== %s\n' "$*"; }
die() { echo "test.sh: $*" >&2; exit 1; }

step "Installing what is missing"
bash "$here/setup.sh" || die "package installation failed"

jobs="$(nproc 2>/dev/null || echo 2)"
for preset in linux win32; do
  step "Building the $preset preset"
  cmake --preset "$preset" >/dev/null || die "configuring $preset failed"
  cmake --build --preset "$preset" -j "$jobs" || die "building $preset failed"
done
step "Building the AddressSanitizer build of everything native"
cmake --preset asan >/dev/null || die "configuring asan failed"
cmake --build --preset asan -j "$jobs" || die "building asan failed"
step "Building the ThreadSanitizer build of the threaded tests"
cmake --preset tsan >/dev/null || die "configuring tsan failed"
cmake --build --preset tsan -j "$jobs" --target quorvel_x11_tests quorvel_drawn_tests \
  quorvel_site_tests quorvel-results quorvel || die "building tsan failed"
step "Building the fuzz targets"
cmake --preset fuzz >/dev/null || die "configuring fuzz failed"
cmake --build --preset fuzz -j "$jobs" --target quorvel_fuzzers || die "building fuzz failed"

step "Starting a display"
export QUORVEL_OWN_DISPLAY=1
. "$here/xvfb.sh"
quorvel_start_xvfb || die "no display"
echo "DISPLAY=$DISPLAY"

export WINEPREFIX="$root/build/win32/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  step "Creating the Wine prefix"
  "$here/wine-run" cmd /c exit >/dev/null 2>&1
fi

passed=0
failed=0
run_ctest() {
  local dir="$1"
  shift
  step "Running the tests of $dir $*"
  local log
  log="$(mktemp)"
  ctest --test-dir "$dir" --output-on-failure "$@" 2>&1 | tee "$log"
  local line
  line="$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)"
  if [ -z "$line" ]; then
    failed=$((failed + 1))
    echo "(no result from ctest in $dir)"
  else
    local f total
    f="$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")"
    total="$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")"
    failed=$((failed + f))
    passed=$((passed + total - f))
  fi
  rm -f "$log"
}

run_ctest build/linux
run_ctest build/win32
run_ctest build/asan
# The worker/UI hand-over, the whole test sequence of the real program on the
# display (bare and composited) and the site's parallel uploads.
export TSAN_OPTIONS="suppressions=$root/tests/sanitizer/tsan.supp ${TSAN_OPTIONS:-}"
run_ctest build/tsan -R \
  '^(quorvel_x11_handover|quorvel_drawn_call_handover|quorvel_site_http_threads|site_test_burst_restart|e2e_x11_test_run_report)$'
# Each fuzz target for QUORVEL_FUZZ_SECONDS (20 s), two at a time.
run_ctest build/fuzz -j "$jobs"
wineserver -k >/dev/null 2>&1 || true

echo
echo "Tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
