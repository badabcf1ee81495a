# Shared by the scripts: installing the Debian packages that are missing, configuring and
# building. Sourced, not run.

VELLUMINE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VELLUMINE_BUILD="$VELLUMINE_ROOT/build"

vellumine_packages=(
  cmake g++ make
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libgl-dev
  libgtest-dev
  xvfb xauth xdotool desktop-file-utils
  fonts-ipafont-gothic
)

vellumine_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

vellumine_install_missing() {
  local missing=() package
  for package in "${vellumine_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  vellumine_as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q </dev/null
  vellumine_as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q "${missing[@]}" </dev/null
}

# vellumine_build FOLDER [CMAKE OPTIONS...]: configures FOLDER once, then builds it.
vellumine_build() {
  local folder=$1
  shift
  if [ ! -f "$folder/CMakeCache.txt" ]; then
    cmake -S "$VELLUMINE_ROOT" -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  fi
  cmake --build "$folder" --parallel "$(nproc)"
}

# vellumine_headless COMMAND...: runs the command on the current display, or on a private Xvfb
# when there is none.
vellumine_headless() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" "$@"
  fi
}

# vellumine_under_wine COMMAND...: runs the command with a quiet Wine in a temporary prefix whose
# server stays up for the whole command (otherwise every Windows test waits for it to linger).
vellumine_under_wine() {
  local prefix status=0
  prefix=$(mktemp -d)
  export WINEPREFIX="$prefix" WINEDEBUG=-all
  /usr/lib/wine/wineserver -p
  /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
  "$@" || status=$?
  /usr/lib/wine/wineserver -k || true
  rm -rf "$prefix"
  unset WINEPREFIX WINEDEBUG
  return "$status"
}

# The browser engine's sandbox refuses to run as root; only then is it turned off.
vellumine_sandbox_for_root() {
  if [ "$(id -u)" -eq 0 ] && [ -z "${QTWEBENGINE_DISABLE_SANDBOX:-}" ]; then
    echo "Running as root: setting QTWEBENGINE_DISABLE_SANDBOX=1 (the browser sandbox cannot run as root)." >&2
    export QTWEBENGINE_DISABLE_SANDBOX=1
  fi
}
