#!/usr/bin/env bash
# run-languages.sh BUILD_DIR LOG [CODE...]: the program in every language of
# res/Languages.inc, each under the language's own system locale. Installs
# the package (cmake --install, component "program": Tessaly.exe and every
# language module) into a folder, and for each language runs tessaly-e2e.exe
# under the language's Unix locale (Wine gives the program it starts the
# same one): the module the locale leads to opens, every text of the dialog
# fits its control, and the About text scrolls. Keeps each language's
# screenshots in artifacts/languages/ and puts all main dialogs on one
# contact sheet, artifacts/languages.png. LOG gets the driver's output for
# every language and closes with the totals; the exit code is non-zero when
# any language failed. Given codes, only those languages run.
set -u
cd "$(dirname "$0")/../.."
. scripts/lib/common.sh
. scripts/lib/desktop.sh

build="$1"
log="$2"
shift 2
only=" $* "
shots="$PWD/artifacts/languages"
sheet="$PWD/artifacts/languages.png"
rm -rf "$shots" "$sheet"
mkdir -p "$shots" "$(dirname "$log")"
: >"$log"

package="$(mktemp -d /tmp/tessaly-package.XXXXXX)"
if ! cmake --install "$build" --component program --prefix "$package" >>"$log" 2>&1; then
  echo "the package could not be installed" >>"$log"
  exit 1
fi

new_wine_prefix
unset DISPLAY
ensure_display
prepare_wine_desktop "$WINEPREFIX" own-decorations
# Drive E: exists and says nothing: the system locale chooses.
drive_e="$(mktemp -d /tmp/tessaly-drive-e.XXXXXX)"
rm -f "$WINEPREFIX/dosdevices/e:" "$WINEPREFIX/dosdevices/e::"
ln -s "$drive_e" "$WINEPREFIX/dosdevices/e:"

# code locale serverlang, one line per language, from the list itself.
languages=$(awk -F'[(,]' '/^TESSALY_LANGUAGE\(/ { gsub(/[" ]/, "", $3); gsub(/[" ]/, "", $4); print $2, $4, $3 }' res/Languages.inc)
passed=0
failed=0
failures=()
while read -r code locale serverlang; do
  [ -n "$code" ] || continue
  [ "$only" = "  " ] || [ "${only#* $code }" != "$only" ] || continue
  echo "=== $code ($locale)" >>"$log"
  LC_ALL="$locale" LANG="$locale" TESSALY_E2E_LANGUAGE="$code" \
    TESSALY_E2E_PROGRAM_FOLDER="$(winepath -w "$package" 2>/dev/null)" \
    TESSALY_E2E_ARTIFACTS="$(winepath -w "$shots" 2>/dev/null)" WINEDEBUG=-all \
    timeout 300 wine "$build/bin/tessaly-e2e.exe" --gtest_color=no --gtest_filter='SystemLocale.*' >>"$log" 2>&1
  if [ $? -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$code")
  fi
done <<<"$languages"

for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done

# The contact sheet: every language's main dialog in the list's order, five
# to a row, each under its code, its serverlang value and its locale (the
# labels in Wine's Tahoma, from fonts-wine: ImageMagick has no font of its
# own here).
tiles=()
while read -r code locale serverlang; do
  [ -e "$shots/language-$code.png" ] &&
    tiles+=(-label "$code   serverlang=$serverlang   ${locale%.UTF-8}" "$shots/language-$code.png")
done <<<"$languages"
if [ ${#tiles[@]} -gt 0 ]; then
  montage -font /usr/share/wine/fonts/tahoma.ttf -pointsize 13 "${tiles[@]}" \
    -tile 5x -geometry +8+8 -background '#d8d8d8' "$sheet" >>"$log" 2>&1
fi

wineserver -k >/dev/null 2>&1
[ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
rm -rf "$WINEPREFIX" "$drive_e" "$package"

# The totals in GoogleTest's words, one test per language.
echo "[  PASSED  ] $passed tests." >>"$log"
if [ "$failed" -gt 0 ]; then
  echo "[  FAILED  ] $failed tests, listed below: ${failures[*]}" >>"$log"
  exit 1
fi
[ -e "$sheet" ] || { echo "no contact sheet was made" >>"$log"; exit 1; }
exit 0
