#!/usr/bin/env bash
# Usage: private_display.sh COMMAND [ARGUMENT...]
# Runs the command on an X server of its own (Xvfb, 1280x1024 in 24-bit colour), never on the
# user's display even when DISPLAY is set, and stops the server afterwards. The server chooses a
# free display number itself, so that runs side by side never meet.
set -uo pipefail
numbers=$(mktemp -u)
mkfifo "$numbers"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numbers" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null' EXIT
read -r -t 30 number <"$numbers"
rm -f "$numbers"
[ -n "${number:-}" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number" VELLUMINE_PRIVATE_DISPLAY=":$number"
"$@"
