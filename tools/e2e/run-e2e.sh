#!/usr/bin/env bash
# run-e2e.sh BUILD_DIR LOG [GTEST_ARGS...]: the end-to-end suite. Drives
# BUILD_DIR/bin/Tessaly.exe with tessaly-e2e.exe in a fresh Wine prefix on
# an X display of its own (Xvfb: the mouse and keyboard belong to the
# suite), with a folder mapped as drive E:, and keeps the screenshots of the
# key screens as PNG files in artifacts/e2e/. The driver's GoogleTest output
# goes to LOG; the exit code is the driver's. The per-locale language cases
# are run-languages.sh's.
set -u
cd "$(dirname "$0")/../.."
. scripts/lib/common.sh
. scripts/lib/desktop.sh

build="$1"
log="$2"
shift 2
shots="$PWD/artifacts/e2e"
rm -rf "$shots"
mkdir -p "$shots" "$(dirname "$log")"

new_wine_prefix
unset DISPLAY
ensure_display
# The interface language follows the system locale when drive E: says
# nothing: keep it English whatever the machine's own locale.
export LC_ALL=C
prepare_wine_desktop "$WINEPREFIX" own-decorations
drive_e="$(mktemp -d /tmp/tessaly-drive-e.XXXXXX)"
rm -f "$WINEPREFIX/dosdevices/e:" "$WINEPREFIX/dosdevices/e::"
ln -s "$drive_e" "$WINEPREFIX/dosdevices/e:"

TESSALY_E2E_ARTIFACTS="$(winepath -w "$shots" 2>/dev/null)" WINEDEBUG=-all \
  timeout 900 wine "$build/bin/tessaly-e2e.exe" --gtest_color=no --gtest_filter='-SystemLocale.*' "$@" >"$log" 2>&1
code=$?

for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
wineserver -k >/dev/null 2>&1
[ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
rm -rf "$WINEPREFIX" "$drive_e"
exit "$code"
