#!/usr/bin/env bash
# Starts the program with Qt's options before a folder. The program opens the folder (had it read
# an option as its argument, start-up would have failed before any main window) and Qt takes its
# options: with -reverse the window is mirrored, the button strip's grey on the right.
# Usage: toolkit_options_test.sh PROGRAM
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/find_window.sh"
program=$1
[ -n "${DISPLAY:-}" ] || { echo "needs an X display"; exit 1; }
folder=$(mktemp -d)
"$program" -reverse --style fusion "$folder" 2>/dev/null &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -rf "$folder"' EXIT
window=$(find_window --onlyvisible --name '^Vellumine$') || window=
[ -n "$window" ] || { echo "no main window: the program did not open the folder"; exit 1; }

# The colour at window coordinates X Y, as "r,g,b".
colour() {
  import -window "$window" -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -n 1
}
# Below the buttons of the strip, 185 from the window's left or right edge.
for _ in $(seq 50); do
  right=$(colour 838 70) left=$(colour 185 70)
  [ "$right" = "240,240,240" ] && [ "$left" != "240,240,240" ] && {
    echo "Qt took -reverse and the program opened the folder"
    exit 0
  }
  sleep 0.2
done
echo "the window is not mirrored: strip colour left $left, right $right"
exit 1
