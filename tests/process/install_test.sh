#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks what lands where, and has the installed
# program (started through its launcher link) ask the desktop to open its help page, with a
# stand-in xdg-open that records what it was asked to open.
# Usage: install_test.sh BUILD_FOLDER
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/find_window.sh"
build=$1
[ -n "${DISPLAY:-}" ] || { echo "needs an X display"; exit 1; }
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
prefix="$work/prefix"
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
program=$(readlink -f "$prefix/bin/vellumine")
[ -x "$program" ] || fail "no launcher in bin"
[ "$(dirname "$program")" != "$prefix/bin" ] || fail "the program itself lies in bin"
[ -f "$(dirname "$program")/help.html" ] || fail "no help.html beside the program"
desktop-file-validate "$prefix/share/applications/vellumine.desktop" || fail "desktop entry"
grep -qx 'Icon=vellumine' "$prefix/share/applications/vellumine.desktop" || fail "desktop icon"
for size in 16 32 48 256; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/vellumine.png"
  [ -f "$icon" ] || fail "no $size px icon"
  # The PNG header: width and height as 32-bit big-endian numbers at offsets 16 and 20.
  read -r w h < <(od -An -tu1 -j16 -N8 "$icon" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "$size px icon is ${w}x$h"
done
[ -f "$prefix/share/icons/hicolor/scalable/apps/vellumine.svg" ] || fail "no scalable icon"

mkdir "$work/stand-ins"
printf '#!/bin/sh\nprintf "%%s" "$1" > "%s/opened"\n' "$work" > "$work/stand-ins/xdg-open"
chmod +x "$work/stand-ins/xdg-open"
PATH="$work/stand-ins:$PATH" "$prefix/bin/vellumine" 2>/dev/null &
pid=$!
window=$(find_window --onlyvisible --name '^Vellumine$') || window=
[ -n "$window" ] || fail "the window did not appear"
sleep 1
# Open the Help menu by its title, then choose its last item, Help.
xdotool mousemove --window "$window" 58 12 click 1
sleep 1
xdotool key Up key Return
for _ in $(seq 100); do [ -s "$work/opened" ] && break; sleep 0.1; done
[ -s "$work/opened" ] || fail "the desktop was not asked to open anything"
expected="file://$(dirname "$program")/help.html"
[ "$(cat "$work/opened")" = "$expected" ] || fail "opened $(cat "$work/opened"), expected $expected"
echo "installed program opens $expected"
