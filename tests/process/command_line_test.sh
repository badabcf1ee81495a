#!/usr/bin/env bash
# Answers --help and --version as a terminal without any display sees them: on standard output,
# nothing on standard error, exit status 0; Qt never starts (without a display it could not).
# Usage: command_line_test.sh PROGRAM VERSION
set -uo pipefail
program=$1 version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# run ARGUMENTS...: runs the program with no display, no chosen platform and no engine switches.
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u QTWEBENGINE_DISABLE_SANDBOX \
    -u QTWEBENGINE_CHROMIUM_FLAGS timeout 20 "$program" "$@" >"$scratch/out" 2>"$scratch/err"
}

# expect NAME STATUS EXPECTED_OUTPUT_FILE ARGUMENTS...
expect() {
  local name=$1 status=$2 expected=$3 actual
  shift 3
  run "$@"
  actual=$?
  if [ "$actual" -ne "$status" ] || ! cmp -s "$expected" "$scratch/out" || [ -s "$scratch/err" ]; then
    echo "FAILED $name: status $actual (expected $status); output and errors:"
    cat "$scratch/out" "$scratch/err"
    failures=$((failures + 1))
  fi
}

printf 'Vellumine %s\n' "$version" >"$scratch/version"
run --help
cp "$scratch/out" "$scratch/usage"
grep -q '^Usage: vellumine \[OPTION\]\.\.\. \[--\] \[FOLDER | FILE\]$' "$scratch/usage" ||
  { echo "FAILED usage line"; cat "$scratch/usage"; failures=$((failures + 1)); }

expect Version 0 "$scratch/version" --version
expect Help 0 "$scratch/usage" --help
expect HelpAfterQtsOptionsAndFolder 0 "$scratch/usage" -reverse -style fusion /tmp --help
expect FirstRequestCounts 0 "$scratch/version" --version --help

env -u DISPLAY "$program" --version >/dev/full 2>/dev/null
status=$?
[ "$status" -eq 1 ] || { echo "FAILED FullOutput: status $status, expected 1"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] && echo "help and version answered without a display"
[ "$failures" -eq 0 ]
