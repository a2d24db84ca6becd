#!/usr/bin/env bash
# Builds Tessaly and starts it under Wine on a demo workstation: a fresh
# Wine prefix seeded with a small office (demo/office.json: three printers
# on two drivers, a form, leftover Temp files and registry entries), applied
# through the real APIs by tessaly-seed.exe. First the console program shows
# its plan of a delete-all run on that office. On the user's display when
# DISPLAY is set; otherwise on a virtual screen (Xvfb), where the script
# saves screenshots of the first two screens and says where they are.
set -u
cd "$(dirname "$0")/.."
. scripts/lib/common.sh
. scripts/lib/desktop.sh

ensure_packages "${TESSALY_PACKAGES[@]}" || { echo "could not install the packages"; exit 1; }
mkdir -p build artifacts
echo "Building Tessaly.exe (build/mingw)..."
build_cross_tree || { echo "the build failed"; exit 1; }

new_wine_prefix
own_decorations=""
if [ -z "${DISPLAY:-}" ]; then
  ensure_display
  own_decorations=own-decorations
fi
prepare_wine_desktop "$WINEPREFIX" $own_decorations
wine build/mingw/tools/seed/tessaly-seed.exe demo/office.json || { echo "seeding the demo failed"; exit 1; }

# The console program on the same office: what a delete-all run would do,
# planned only (nothing on the machine changes).
echo "TessalyCmd /all /plan on the demo office (a plan: nothing is deleted):"
wine build/mingw/bin/TessalyCmd.exe /all /plan 2>/dev/null | tr -d '\r'
echo

cleanup() {
  wineserver -k >/dev/null 2>&1
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$WINEPREFIX"
}

if [ -z "${XVFB_PID:-}" ]; then
  echo "Starting Tessaly on $DISPLAY (demo prefix $WINEPREFIX, removed when Tessaly ends)..."
  wine build/mingw/bin/Tessaly.exe
  cleanup
  exit 0
fi

# No screen of the user's: show what Tessaly shows, as pictures.
wine build/mingw/bin/Tessaly.exe &
if ! xdotool search --sync --onlyvisible --name '^Tessaly$' >/dev/null 2>&1; then
  echo "Tessaly showed no window"
  cleanup
  exit 1
fi
sleep 2
question=artifacts/run-1-start.png
dialog=artifacts/run-2-main-dialog.png
import -window root png:- | convert - -trim +repage "$question"
# The question's default button is Cancel: Shift+Tab moves to OK.
xdotool key shift+Tab Return
sleep 3
import -window root png:- | convert - -trim +repage "$dialog"
cleanup
echo "No display was set, so Tessaly ran on a virtual screen (Xvfb)."
echo "Screenshots: $PWD/$question (the first question) and $PWD/$dialog (the main dialog with the demo office's printers)."
