#!/usr/bin/env bash
# Runs one fuzz target: first every input kept in regressions/<what>/ (each
# once, as a test), then libFuzzer for QUORVEL_FUZZ_SECONDS (default 20) from
# the seeds in corpus/<what>/ and what earlier runs found in the build folder.
# Fails on any finding; libFuzzer leaves the input in <work>/artifacts/.
# Usage: run_fuzzer.sh BINARY WHAT WORK_DIR
set -uo pipefail
binary="$1"
what="$2"
work="$3/$what"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
seconds="${QUORVEL_FUZZ_SECONDS:-20}"

mkdir -p "$work/corpus" "$work/artifacts"
regressions="$here/regressions/$what"
if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
  echo "replaying $(ls "$regressions" | wc -l) kept inputs"
  "$binary" "$regressions"/* || exit 1
fi
exec "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$work/artifacts/" "$work/corpus" "$here/corpus/$what"
