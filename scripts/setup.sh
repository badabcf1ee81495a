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
  xdg-utils
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

# vellumine_cached FOLDER NAME VALUE: whether FOLDER's CMake cache holds NAME with VALUE.
vellumine_cached() {
  local type
  for type in BOOL STRING FILEPATH PATH UNINITIALIZED; do
    grep -qxF "$2:$type=$3" "$1/CMakeCache.txt" 2>/dev/null && return 0
  done
  return 1
}

# vellumine_build FOLDER [--target TARGET] [CMAKE OPTIONS...]: configures FOLDER when it is new or
# when one of the -DNAME=VALUE options differs from its cache, then builds TARGET, or everything.
# Without CMAKE_BUILD_TYPE among the options the build type is RelWithDebInfo.
vellumine_build() {
  local folder=$1 option name configure=no target=()
  shift
  if [ "${1:-}" = --target ]; then
    target=(--target "$2")
    shift 2
  fi
  [[ " $* " == *" -DCMAKE_BUILD_TYPE="* ]] || set -- -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  [ -f "$folder/CMakeCache.txt" ] || configure=yes
  for option in "$@"; do
    name=${option#-D}
    name=${name%%=*}
    vellumine_cached "$folder" "$name" "${option#*=}" || configure=yes
  done
  if [ "$configure" = yes ]; then
    cmake -S "$VELLUMINE_ROOT" -B "$folder" "$@"
  fi
  cmake --build "$folder" --parallel "$(nproc)" "${target[@]}"
}

# vellumine_fuzz_build FOLDER: the fuzz targets of fuzz/, built with clang (sanitized) into FOLDER.
vellumine_fuzz_build() {
  vellumine_build "$1" -DCMAKE_CXX_COMPILER=/usr/bin/clang++ -DVELLUMINE_BUILD_GUI=OFF \
    -DVELLUMINE_BUILD_TESTS=OFF -DVELLUMINE_BUILD_FUZZERS=ON -DVELLUMINE_WARNINGS_AS_ERRORS=ON
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
