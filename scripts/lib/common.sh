# Shared by the scripts: installing what is missing, building the trees.

# Installs the Debian packages that are not installed yet. A fresh machine
# needs "apt-get update" before its first install, so it runs first; a
# package of a foreign architecture (wine32:i386) needs that architecture
# added to dpkg before the update, or apt does not know the package at all.
ensure_packages() {
  local missing=() foreign=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" && continue
    missing+=("$pkg")
    case "$pkg" in *:*) foreign+=("${pkg##*:}") ;; esac
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  local arch
  for arch in "${foreign[@]}"; do
    [ "$arch" = "$(dpkg --print-architecture)" ] && continue
    dpkg --print-foreign-architectures | grep -qx "$arch" || $sudo dpkg --add-architecture "$arch" || return 1
  done
  $sudo apt-get update -qq || return 1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

. "$(dirname "${BASH_SOURCE[0]}")/packages.sh"

# Whether this kernel runs 32-bit x86 Linux programs. Wine's 32-bit loader
# (wine32:i386) is one, and without it Wine runs no 32-bit Windows program.
# Some kernels have the 32-bit emulation switched off (dmesg: "32-bit
# emulation disabled"): there the loader fails with "Exec format error", and
# once installed it even breaks the "wine" command for 64-bit programs,
# because Debian's wrapper always prefers it. The probe is the smallest
# 32-bit program there is: an ELF header, one program header, and
# exit(0) through int 0x80.
kernel_runs_32bit_programs() {
  local probe
  probe=$(mktemp /tmp/tessaly-ia32.XXXXXX)
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' >"$probe"
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
  printf '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >>"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  local code=$?
  rm -f "$probe"
  return $code
}

# The packages a machine gets: Wine's 32-bit loader only where it can run.
wanted_packages() {
  if kernel_runs_32bit_programs; then echo TESSALY_PACKAGES WINE32_PACKAGES "$@"; else echo TESSALY_PACKAGES "$@"; fi
}

# configure_and_build DIR [cmake args...]: every target, or only those
# BUILD_ONLY names.
configure_and_build() {
  local dir="$1" only=()
  shift
  [ -n "${BUILD_ONLY:-}" ] && only=(--target $BUILD_ONLY)
  cmake -S . -B "$dir" "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j"$(nproc)" "${only[@]}" >"$dir.build.log" 2>&1 || { tail -n 60 "$dir.build.log"; return 1; }
}

# The Windows trees, one per architecture: x64 in build/mingw, x86 in
# build/mingw32.
declare -A CROSS_TREE=([x64]=build/mingw [x86]=build/mingw32)
declare -A CROSS_TOOLCHAIN=([x64]=cmake/mingw-w64-x86_64.cmake [x86]=cmake/mingw-w64-i686.cmake)

# build_cross_tree [x64|x86 [TARGET...]]: the whole tree, or only the targets named.
build_cross_tree() {
  local arch="${1:-x64}"
  BUILD_ONLY="${*:2}" configure_and_build "${CROSS_TREE[$arch]}" \
    -DCMAKE_TOOLCHAIN_FILE="${CROSS_TOOLCHAIN[$arch]}" -DCMAKE_BUILD_TYPE=Release
}

# new_wine_prefix [x64|x86]: a fresh Wine prefix in a temporary folder
# (about ten seconds). x64: a 64-bit Windows, where 32-bit programs run
# under WoW64; x86: a 32-bit Windows (WINEARCH=win32). Wine's menu builder
# stays off: an installer's shortcuts must not reach the Linux desktop.
new_wine_prefix() {
  WINEPREFIX="$(mktemp -d /tmp/tessaly-wine.XXXXXX)"
  export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ "${1:-x64}" = x86 ]; then export WINEARCH=win32; else export WINEARCH=win64; fi
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
