#!/usr/bin/env bash
# Every test of the project, on a fresh Debian machine: installs what is
# missing, builds the native tree, the sanitizer tree and the Windows cross
# tree, runs the native tests, runs them again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the Windows test executables under Wine
# in a fresh prefix. Ends with one line per suite; exits non-zero when any
# build or suite fails.
set -u
cd "$(dirname "$0")/.."
. scripts/lib/common.sh

mkdir -p build artifacts
summary=()
status=0

# Before anything is installed: every command the scripts call comes from a
# package they install. Once more afterwards, when every command is there to
# be checked against dpkg.
bash scripts/check-packages.sh || { echo "the scripts call commands whose packages they do not install"; exit 1; }
ensure_packages "${TESSALY_PACKAGES[@]}" || { echo "could not install the packages"; exit 1; }
bash scripts/check-packages.sh --installed TESSALY_PACKAGES >artifacts/packages.log 2>&1
code=$?
summary+=("$(printf '%-10s %s' "packages:" "$(tail -n 1 artifacts/packages.log)")")
[ $code -eq 0 ] || { status=1; summary+=("$(printf '%-10s FAIL (see artifacts/packages.log)' "")"); }

# gtest_summary NAME LOG EXIT: one line from GoogleTest's own totals.
gtest_summary() {
  local name="$1" log="$2" code="$3"
  local passed skipped failed
  passed=$(grep -Eo '^\[  PASSED  \] [0-9]+' "$log" | grep -Eo '[0-9]+$' | tail -n1)
  skipped=$(grep -Eo '^\[  SKIPPED \] [0-9]+ test' "$log" | grep -Eo '[0-9]+' | tail -n1)
  failed=$(grep -Eo '^\[  FAILED  \] [0-9]+ test' "$log" | grep -Eo '[0-9]+' | tail -n1)
  local line
  line=$(printf '%-10s %4s passed, %3s skipped, %3s failed' "$name:" "${passed:-0}" "${skipped:-0}" "${failed:-0}")
  if [ "$code" -ne 0 ] || [ -z "$passed" ]; then
    line="$line  FAIL (exit $code, see $log)"
    status=1
  fi
  summary+=("$line")
}

build_or_fail() {
  local name="$1"
  shift
  if ! "$@"; then
    summary+=("$(printf '%-10s build FAILED' "$name:")")
    status=1
    return 1
  fi
}

if build_or_fail native configure_and_build build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo; then
  ./build/native/tests/tessaly_tests --gtest_color=no >artifacts/native.log 2>&1
  gtest_summary native artifacts/native.log $?
fi

if build_or_fail sanitizer configure_and_build build/asan -DCMAKE_BUILD_TYPE=Debug -DTESSALY_SANITIZE=ON; then
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ./build/asan/tests/tessaly_tests --gtest_color=no >artifacts/sanitizer.log 2>&1
  gtest_summary sanitizer artifacts/sanitizer.log $?
fi

if build_or_fail wine build_cross_tree; then
  new_wine_prefix
  ensure_display
  for exe in build/mingw/tests/win32/tessaly_win_tests.exe; do
    timeout 900 wine "$exe" --gtest_color=no >artifacts/wine.log 2>&1
    gtest_summary wine artifacts/wine.log $?
  done
  # The About window and its scrolling text as real windows on the display.
  timeout 300 wine build/mingw/about/tessaly_about_win_tests.exe --gtest_color=no >artifacts/about-gui.log 2>&1
  gtest_summary about-gui artifacts/about-gui.log $?
  # Each named skip with its reason (GoogleTest prints the reason just before).
  awk '/^\[  SKIPPED \] [A-Za-z].* \(/ { print "  skipped on Wine: " $4 ": " prev } { prev = $0 }' \
    artifacts/wine.log artifacts/about-gui.log >artifacts/wine-skips.txt
  wineserver -k >/dev/null 2>&1
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$WINEPREFIX"
  # The program driven as a user would, in a prefix and on a display of its own.
  bash tools/e2e/run-e2e.sh build/mingw artifacts/e2e.log
  gtest_summary e2e artifacts/e2e.log $?
  # Every language under its own system locale, from the installed package;
  # the contact sheet of all main dialogs is artifacts/languages.png.
  bash tools/e2e/run-languages.sh build/mingw artifacts/languages.log
  gtest_summary languages artifacts/languages.log $?
fi

echo
echo "== Tessaly test summary =="
for line in "${summary[@]}"; do echo "$line"; done
[ -s artifacts/wine-skips.txt ] && cat artifacts/wine-skips.txt
[ "$status" -eq 0 ] && echo "ALL SUITES PASSED" || echo "SOME SUITES FAILED"
exit "$status"
