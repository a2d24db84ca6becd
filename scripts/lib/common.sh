# Shared by the scripts: installing what is missing, building the trees.

# Installs the Debian packages that are not installed yet. A fresh machine
# needs "apt-get update" before its first install, so it runs first.
ensure_packages() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq || return 1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

. "$(dirname "${BASH_SOURCE[0]}")/packages.sh"

# configure_and_build DIR [cmake args...]
configure_and_build() {
  local dir="$1"
  shift
  cmake -S . -B "$dir" "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j"$(nproc)" >"$dir.build.log" 2>&1 || { tail -n 60 "$dir.build.log"; return 1; }
}

# The Windows trees, one per architecture: x64 in build/mingw, x86 in
# build/mingw32.
declare -A CROSS_TREE=([x64]=build/mingw [x86]=build/mingw32)
declare -A CROSS_TOOLCHAIN=([x64]=cmake/mingw-w64-x86_64.cmake [x86]=cmake/mingw-w64-i686.cmake)

# build_cross_tree [x64|x86]
build_cross_tree() {
  local arch="${1:-x64}"
  configure_and_build "${CROSS_TREE[$arch]}" -DCMAKE_TOOLCHAIN_FILE="${CROSS_TOOLCHAIN[$arch]}" -DCMAKE_BUILD_TYPE=Release
}

# A fresh Wine prefix in a temporary folder (about ten seconds).
new_wine_prefix() {
  WINEPREFIX="$(mktemp -d /tmp/tessaly-wine.XXXXXX)"
  export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineboot -i >/dev/null 2>&1
  wineserver -w
}

# An X server for Wine's windows when none is given.
ensure_display() {
  if [ -z "${DISPLAY:-}" ]; then
    local n=$((90 + RANDOM % 100))
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    sleep 1
  fi
}
