#!/usr/bin/env bash
# Builds the Debian package from the build with CPack, checks its control fields, unpacks it into
# a scratch root (dpkg -x) and checks what lands where, validates its desktop entry and metainfo,
# and starts the installed program: --version, then its window.
# Usage: package_test.sh BUILD_FOLDER VERSION
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/find_window.sh"
build=$1 version=$2
[ -n "${DISPLAY:-}" ] || { echo "needs an X display"; exit 1; }
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb="$work/out/vellumine_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$work/out")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = vellumine ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
field Depends | grep -q 'libqt6webenginewidgets6' || fail "Depends lacks the engine: $(field Depends)"
# A Japanese font among the dependencies: fontconfig resolves Japanese to a font of one of the
# alternatives (this machine has one installed, as a system with the package would).
fonts=$(field Depends | tr ',' '\n' | grep 'fonts-ipafont-gothic') || fail "no Japanese font in Depends"
japanese=$(fc-match -f '%{file}' ':lang=ja') || fail "fc-match"
fc-query -f '%{lang}\n' "$japanese" | tr '|' '\n' | grep -qx ja || fail "$japanese has no Japanese"
owner=$(dpkg -S "$(readlink -f "$japanese")" 2>/dev/null | cut -d: -f1) || owner=
echo "$fonts" | tr '|' '\n' | tr -d ' ' | grep -qxF "$owner" ||
  fail "the Japanese font $japanese comes from '$owner', not from: $fonts"
[ "$(field Recommends)" = xdg-utils ] || fail "Recommends: $(field Recommends)"

root="$work/root"
dpkg -x "$deb" "$root" || fail "dpkg -x"
program=$(readlink -f "$root/usr/bin/vellumine")
[ "$program" = "$root/usr/lib/vellumine/vellumine" ] || fail "launcher points to $program"
[ -x "$program" ] || fail "the program is not executable"
[ -f "$root/usr/lib/vellumine/help.html" ] || fail "no help.html beside the program"

desktop="$root/usr/share/applications/vellumine.desktop"
desktop-file-validate "$desktop" || fail "desktop entry"
[ "$(grep '^MimeType=' "$desktop")" = 'MimeType=text/html;' ] || fail "$(grep '^MimeType=' "$desktop")"
for size in 16x16 32x32 48x48 256x256; do
  [ -f "$root/usr/share/icons/hicolor/$size/apps/vellumine.png" ] || fail "no $size icon"
done
[ -f "$root/usr/share/icons/hicolor/scalable/apps/vellumine.svg" ] || fail "no scalable icon"

metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml) || fail "no metainfo"
appstreamcli validate --no-net "$metainfo" || fail "metainfo"
grep -q "<release version=\"$version\" date=\"[0-9-]*\"/>" "$metainfo" || fail "metainfo release"

manual="$root/usr/share/man/man1/vellumine.1.gz"
gzip -t "$manual" || fail "manual page"
zcat "$manual" | grep -q "^\.TH VELLUMINE 1 \"[0-9-]*\" \"Vellumine $version\"" || fail "manual heading"
doc="$root/usr/share/doc/vellumine"
grep -q '^License: Expat$' "$doc/copyright" || fail "copyright"
[ "$(zcat "$doc/changelog.gz" | head -n 1 | cut -d' ' -f1-2)" = "vellumine ($version)" ] ||
  fail "changelog: $(zcat "$doc/changelog.gz" | head -n 1)"

# The installed program, started through its launcher, tells its version without any display.
answer=$(env -u DISPLAY "$root/usr/bin/vellumine" --version 2>&1) || fail "--version: $answer"
[ "$answer" = "Vellumine $version" ] || fail "--version says: $answer"

# It shows its window on a folder and ends with Ctrl+Q, status 0.
mkdir "$work/site"
printf '<title>t</title>' >"$work/site/index.html"
"$program" "$work/site" 2>"$work/stderr" &
pid=$!
window=$(find_window --onlyvisible --name '^Vellumine$') || window=
[ -n "$window" ] || { cat "$work/stderr"; fail "the window did not appear"; }
sleep 1
xdotool windowfocus --sync "$window" key ctrl+q
timeout 30 tail --pid="$pid" -f /dev/null
wait "$pid"
status=$?
pid=
[ "$status" -eq 0 ] || fail "exit status $status"
echo "package $(basename "$deb") installs and runs"
