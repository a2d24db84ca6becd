#!/usr/bin/env bash
# run-e2e.sh ARCH LOG [GTEST_ARGS...]: the end-to-end suite. Drives
# Tessaly.exe with tessaly-e2e.exe in a fresh Wine prefix on an X display of
# its own (Xvfb: the mouse and keyboard belong to the suite), with a folder
# mapped as drive E:, and keeps the screenshots of the key screens as PNG
# files in artifacts/e2e/ARCH/. ARCH:
#   x64    the x64 tree's program in a 64-bit prefix
#   x86    the x86 tree's program in a 32-bit prefix (WINEARCH=win32)
#   wow64  the x86 program in a 64-bit prefix, from a package layout (x86\
#          beside x64\) and alone; the x64 driver checks the real and the
#          redirected places (Wow64Scenario)
#   msi-x64, msi-x86
#          the installer's round trip (dist/, from scripts/package.sh) in a
#          prefix of its architecture: an older release installs, this one
#          replaces it, every file and the Start-menu shortcut are there, the
#          installed program shows its dialog with the printers, and the
#          uninstall leaves nothing behind; in the 64-bit prefix the x86
#          package refuses to install
# The driver's GoogleTest output goes to LOG; the exit code is the driver's.
set -u
cd "$(dirname "$0")/../.."
. scripts/lib/common.sh
. scripts/lib/desktop.sh
. scripts/lib/msi.sh

arch="$1"
log="$2"
shift 2
case "$arch" in
  x64 | x86) build="${CROSS_TREE[$arch]}" prefix_arch="$arch" filter="-Wow64Scenario.*:SystemLocale.*" ;;
  wow64) build="${CROSS_TREE[x64]}" prefix_arch=x64 filter="Wow64Scenario.*" ;;
  msi-x64 | msi-x86)
    prefix_arch="${arch#msi-}" build="${CROSS_TREE[${arch#msi-}]}"
    filter="Scenario.TheListIsSortedIgnoringCaseWithEachNameLedByOneBlank" ;;
  *) echo "run-e2e.sh: unknown architecture $arch"; exit 2 ;;
esac
shots="$PWD/artifacts/e2e/$arch"
rm -rf "$shots"
mkdir -p "$shots" "$(dirname "$log")"

new_wine_prefix "$prefix_arch"
unset DISPLAY
ensure_display
# The interface language follows the system locale when drive E: says
# nothing: keep it English whatever the machine's own locale.
export LC_ALL=C
prepare_wine_desktop "$WINEPREFIX" own-decorations
drive_e="$(mktemp -d /tmp/tessaly-drive-e.XXXXXX)"
rm -f "$WINEPREFIX/dosdevices/e:" "$WINEPREFIX/dosdevices/e::"
ln -s "$drive_e" "$WINEPREFIX/dosdevices/e:"

layout=""
if [ "$arch" = wow64 ]; then
  # The zip's layout, and a 32-bit program with nothing beside it.
  layout="$(mktemp -d /tmp/tessaly-layout.XXXXXX)"
  for a in x64 x86; do
    mkdir -p "$layout/Tessaly/$a"
    cp "${CROSS_TREE[$a]}"/bin/Tessaly.exe "${CROSS_TREE[$a]}"/bin/Tessaly???.dll "$layout/Tessaly/$a/"
  done
  mkdir -p "$layout/lone"
  cp "${CROSS_TREE[x86]}/bin/Tessaly.exe" "$layout/lone/"
  export TESSALY_E2E_PROGRAM="$(winepath -w "$layout/Tessaly/x86/Tessaly.exe" 2>/dev/null)"
  export TESSALY_E2E_LONE_X86="$(winepath -w "$layout/lone/Tessaly.exe" 2>/dev/null)"
fi

: >"$log"
msi_failures=0
msi_check() {  # msi_check DESCRIPTION COMMAND...: one line in the log
  if "${@:2}"; then echo "[ MSI OK   ] $1" >>"$log"; else echo "[ MSI FAIL ] $1" >>"$log"; msi_failures=$((msi_failures + 1)); fi
}
# The DisplayVersion of each installed product named Tessaly. Both views of
# the registry: where Wine also runs 32-bit programs, a bare "reg" may be the
# 32-bit one, which sees only the redirected half of HKLM\Software.
key_absent() { ! wine reg query "$1" /reg:64 >/dev/null 2>&1 && ! wine reg query "$1" /reg:32 >/dev/null 2>&1; }
installed_versions() {
  { wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s /reg:64 2>/dev/null
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s /reg:32 2>/dev/null; } | tr -d '\r' |
    awk '/^HKEY/ { if (name == "Tessaly") print version; name = ""; version = "" }
         $1 == "DisplayName" { name = $NF } $1 == "DisplayVersion" { version = $NF }
         END { if (name == "Tessaly") print version }' | sort | tr '\n' ' '
}
if [ "${arch#msi-}" != "$arch" ]; then
  version=$(project_version)
  msi="$PWD/dist/Tessaly-$version-$prefix_arch.msi"
  installed="$WINEPREFIX/drive_c/Program Files/Tessaly"
  # Windows puts a per-machine shortcut in the common Start menu; Wine's
  # installer puts it in the installing user's. Either one counts, and after
  # the uninstall neither may be left.
  menus=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tessaly")
  for user in "$WINEPREFIX"/drive_c/users/*/; do
    menus+=("${user}AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tessaly")
  done
  shortcut_in_a_menu() { local m; for m in "${menus[@]}"; do [ -f "$m/Tessaly.lnk" ] && return 0; done; return 1; }
  no_menu_folder() { local m; for m in "${menus[@]}"; do [ -e "$m" ] && return 1; done; return 0; }
  # What the package holds, from the zip's folder of the same architecture.
  contents="$(mktemp -d /tmp/tessaly-contents.XXXXXX)"
  unzip -q -j "dist/Tessaly-$version.zip" "Tessaly-$version/$prefix_arch/*" "Tessaly-$version/README.md" -d "$contents/files"
  expected=$(ls "$contents/files" | sort | tr '\n' ' ')
  older="$contents/Tessaly-3.2.0.0-$prefix_arch.msi"
  build_msi "$prefix_arch" 3.2.0.0 "$contents/files" "$older" >/dev/null 2>&1
  if [ "$prefix_arch" = x64 ]; then
    # The 32-bit package's condition, evaluated by the 64-bit installer: no
    # 32-bit code runs, so this holds on a kernel without 32-bit programs too.
    x86_msi="$PWD/dist/Tessaly-$version-x86.msi"
    msi_check "the x86 package refuses to install on a 64-bit Windows" \
      bash -c '! wine msiexec /i "$1" /qn' _ "$(winepath -w "$x86_msi")"
    msi_check "...and installs nothing" test ! -e "$WINEPREFIX/drive_c/Program Files (x86)/Tessaly" -a -z "$(installed_versions)"
  fi
  msi_check "an older release (3.2.0.0) installs" wine msiexec /i "$(winepath -w "$older")" /qn
  msi_check "Tessaly 3.2.0.0 is installed" test "$(installed_versions)" = "3.2.0.0 "
  msi_check "Tessaly $version installs silently" wine msiexec /i "$(winepath -w "$msi")" /qn
  msi_check "it replaced the older release: only $version is installed (found: $(installed_versions))" \
    test "$(installed_versions)" = "$version "
  msi_check "Program Files\\Tessaly holds exactly: $expected" \
    test "$(ls "$installed" 2>/dev/null | sort | tr '\n' ' ')" = "$expected"
  msi_check "the Start menu has Tessaly\\Tessaly.lnk" shortcut_in_a_menu
  export TESSALY_E2E_PROGRAM='C:\Program Files\Tessaly\Tessaly.exe'
fi

run_driver() {
  TESSALY_E2E_ARTIFACTS="$(winepath -w "$shots" 2>/dev/null)" WINEDEBUG=-all \
    timeout 900 wine "$build/bin/tessaly-e2e.exe" --gtest_color=no --gtest_filter="$filter" "$@" >>"$log" 2>&1
}
run_driver "$@"
code=$?
# Now and then Wine cannot start the driver at all in a prefix it has just
# made ("ShellExecuteEx failed: Internal error"): not one test ran, so one
# more start is no second chance for a failing test.
if [ "$code" -ne 0 ] && ! grep -q '^\[==========\]' "$log" && grep -q 'ShellExecuteEx failed' "$log"; then
  echo "run-e2e.sh: Wine could not start the driver; starting it once more" >>"$log"
  run_driver "$@"
  code=$?
fi

if [ "${arch#msi-}" != "$arch" ]; then
  msi_check "Tessaly $version uninstalls silently" wine msiexec /x "$(winepath -w "$msi")" /qn
  msi_check "no Tessaly product is left installed" test -z "$(installed_versions)"
  msi_check "Program Files\\Tessaly is gone" test ! -e "$installed"
  msi_check "the Start-menu folder is gone" no_menu_folder
  msi_check "the registry key of the installer is gone" key_absent 'HKLM\Software\Tessaly'
  rm -rf "$contents"
  [ $msi_failures -eq 0 ] || code=1
fi

for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
wineserver -k >/dev/null 2>&1
[ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
rm -rf "$WINEPREFIX" "$drive_e" $layout
exit "$code"
