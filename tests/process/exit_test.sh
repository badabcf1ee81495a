#!/usr/bin/env bash
# Starts the program on a FIFO that carries an HTML name (nothing ever writes to it), chooses
# File > Exit with the mouse and the keyboard like a user, and checks that the process is gone with
# status 0 well within the limit, whatever the browser engine was doing with the FIFO.
# Usage: exit_test.sh PROGRAM
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/find_window.sh"
program=$1
limit_seconds=5
[ -n "${DISPLAY:-}" ] || { echo "needs an X display"; exit 1; }

folder=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$folder"' EXIT
printf '<title>a</title>' >"$folder/a.html"
mkfifo "$folder/x.html"

"$program" "$folder/x.html" &
pid=$!
window=$(find_window --onlyvisible --pid "$pid" --name '^Vellumine$') || window=
[ -n "$window" ] || { echo "the main window did not appear"; exit 1; }
sleep 2

# The File menu's title sits at the left end of the menu bar; Up from its top reaches Exit.
xdotool windowfocus --sync "$window" mousemove --window "$window" 20 12 click 1
sleep 1
xdotool key Up Return
chosen=$(date +%s%N)

timeout "$limit_seconds" tail --pid="$pid" -f /dev/null || {
  echo "the process was still running ${limit_seconds} s after Exit"
  exit 1
}
wait "$pid"
status=$?
pid=
elapsed_ms=$((($(date +%s%N) - chosen) / 1000000))
[ "$status" -eq 0 ] || { echo "exit status $status, expected 0"; exit 1; }
echo "ended with status 0, ${elapsed_ms} ms after Exit"
