#!/usr/bin/env bash
# Starts the program so that start-up fails, answers the fatal box like a user would, and checks
# the box's caption, the message on stderr, that the main window never appeared and exit status 1.
# Usage: fatal_start_test.sh PROGRAM EXPECTED_STDERR_REGEX [ARGUMENT...]
# With ONLY_AS_ROOT=1 it is skipped (exit status 77) unless it runs as root.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/find_window.sh"
program=$1 expected=$2
shift 2
[ -n "${DISPLAY:-}" ] || { echo "needs an X display"; exit 1; }
if [ "${ONLY_AS_ROOT:-0}" = 1 ] && [ "$(id -u)" -ne 0 ]; then
  echo "skipped: not running as root"
  exit 77
fi

stderr_file=$(mktemp)
trap 'rm -f "$stderr_file"; kill "$pid" 2>/dev/null' EXIT
"$program" "$@" 2>"$stderr_file" &
pid=$!

box=$(find_window --name '^アプリケーションエラー$') || box=
[ -n "$box" ] || { echo "the fatal box did not appear"; cat "$stderr_file"; exit 1; }
if xdotool search --onlyvisible --name '^Vellumine$' >/dev/null 2>&1; then
  echo "the main window appeared"
  exit 1
fi
xdotool windowfocus --sync "$box" key Return

timeout 30 tail --pid="$pid" -f /dev/null
wait "$pid"
status=$?
[ "$status" -eq 1 ] || { echo "exit status $status, expected 1"; exit 1; }
grep -qzP -- "$expected" "$stderr_file" || {
  echo "stderr lacks: $expected"
  cat "$stderr_file"
  exit 1
}
echo "fatal box shown, exit status 1"
