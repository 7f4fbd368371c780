# shellcheck shell=bash
# Helpers of the installation and package tests. Each test collects every
# problem it finds with `problem`, then `finish` reports them and sets the
# exit status; `fail` ends the test at once when nothing further can be
# checked. `work` is a scratch folder removed when the test ends.
set -uo pipefail

problems=0
problem() {
  echo "FAIL: $*" >&2
  problems=$((problems + 1))
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

finish() {
  if [ "$problems" -ne 0 ]; then
    echo "$problems problem(s) found" >&2
    exit 1
  fi
  echo "ok"
  exit 0
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# need COMMAND...: ends the test when a tool it uses is missing.
need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (scripts/setup.sh installs it)"
  done
}

# make_package BUILD_DIR GENERATOR: runs CPack on a build folder into
# $work/package and prints the path of the one package it made.
make_package() {
  local out="$work/package"
  cpack -G "$2" -B "$out" --config "$1/CPackConfig.cmake" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    fail "cpack -G $2 failed"
  }
  local made=("$out"/*."$(tr '[:upper:]' '[:lower:]' <<<"$2")")
  if [ ${#made[@]} -ne 1 ] || [ ! -f "${made[0]}" ]; then
    fail "cpack -G $2 made no single package: ${made[*]}"
  fi
  echo "${made[0]}"
}
