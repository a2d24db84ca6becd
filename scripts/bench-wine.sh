#!/usr/bin/env bash
# TessalyCmd.exe under Wine on seeded prefixes of 20 and 100 printers: the
# wall time of `/all /plan` and of `/all /yes`, each beside a bare Spooler
# stop-and-start on the same prefix, as a ratio to the restarts the run
# makes; and the time from starting the program to its first output line.
#
#   bash scripts/bench-wine.sh [repetitions]     (3 unless told)
#
# Each repetition seeds the office again in the same prefix (a run deletes
# it) and measures in this order: start-up, plan, bare restart, run.
set -u
cd "$(dirname "$0")/.."
. scripts/lib/common.sh

reps="${1:-3}"
ensure_packages "${TESSALY_PACKAGES[@]}" || { echo "could not install the packages"; exit 1; }
mkdir -p build artifacts
build_cross_tree x64 TessalyCmd tessaly-seed || { echo "the build failed"; exit 1; }
cmd=build/mingw/bin/TessalyCmd.exe
seed=build/mingw/tools/seed/tessaly-seed.exe

# items FORMAT COUNT: FORMAT once for each of 0..COUNT-1, separated by
# commas, with @ replaced by the number.
items() {
  local i line
  for i in $(seq 0 $(($2 - 1))); do
    line="${1//@/$i}"
    [ "$i" -lt $(($2 - 1)) ] && line="$line,"
    echo "$line"
  done
}

# office N: N printers, one driver per five of them (printer @ uses driver
# @/5), each driver with a watermark file left in Temp and its
# job-properties key, each printer with its per-user settings key and value.
office() {
  local n="$1" drivers i
  drivers=$((n + 4))
  drivers=$((drivers / 5))
  echo '{ "spooler": { "drivers": ['
  items '  {"name": "Bench Driver @", "driverPath": "BENCH@.DLL", "dataFile": "BENCH@.PPD", "configFile": "BENCH@UI.DLL"}' "$drivers"
  echo '], "printers": ['
  for i in $(seq 0 $((n - 1))); do
    printf '  {"name": "Bench Printer %d", "driver": "Bench Driver %d"}' "$i" $((i / 5))
    [ "$i" -lt $((n - 1)) ] && printf ','
    echo
  done
  echo ']}, "registry": {'
  echo '  "HKEY_CURRENT_USER\\Printers\\Settings": {'
  items '    "Bench Printer @": "tray 1"' "$n"
  echo '  },'
  items '  "HKEY_CURRENT_USER\\Printers\\Settings\\Printers\\Bench Printer @": {"Duplex": "none"}' "$n" | sed '$s/$/,/'
  items '  "HKEY_CURRENT_USER\\Software\\NVL\\Job Properties\\Driver\\BENCH@": {"Copies": "1"}' "$drivers"
  echo '}, "files": {'
  items '  "C:\\windows\\temp\\BENCH@.wmk": {"content": "left behind"}' "$drivers"
  echo '}}'
}

# seconds_since START: wall time from an EPOCHREALTIME reading, in seconds.
seconds_since() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }'; }

# first_line ARGS...: seconds from starting TessalyCmd.exe to its first
# line on standard output (the rest is read and dropped).
first_line() {
  local start="$EPOCHREALTIME" took=""
  while IFS= read -r _; do
    [ -z "$took" ] && took="$(seconds_since "$start")"
  done < <(wine "$cmd" "$@" 2>/dev/null)
  echo "${took:-none}"
}

timed() {
  local start="$EPOCHREALTIME"
  "$@" >/dev/null 2>&1
  local code=$?
  echo "$(seconds_since "$start") $code"
}

restart_spooler() { wine net stop spooler && wine net start spooler; }

new_wine_prefix x64
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$WINEPREFIX"' EXIT
report="$(winepath -w /tmp/tessaly-bench-report.json)"
results=()
for n in 20 100; do
  office "$n" >"build/bench-office-$n.json"
  for r in $(seq 1 "$reps"); do
    wine "$seed" "build/bench-office-$n.json" >"artifacts/bench-wine-seed.log" 2>&1 || {
      echo "seeding $n printers failed (artifacts/bench-wine-seed.log)"; exit 1; }
    startup="$(first_line /list)"
    read -r plan plan_code < <(timed wine "$cmd" /all /plan /quiet)
    # Wine starts its Spooler only on demand: running first, as in the run.
    wine net start spooler >/dev/null 2>&1
    read -r restart restart_code < <(timed restart_spooler)
    read -r run run_code < <(timed wine "$cmd" /all /yes /quiet "/report:$report")
    restarts=$(grep -o '"services.Stop Spooler -> 0"' /tmp/tessaly-bench-report.json | wc -l)
    left=$(wine "$cmd" /list 2>/dev/null | grep -c '^Bench Printer')
    [ "$plan_code" = 0 ] && [ "$restart_code" = 0 ] && [ "$run_code" = 0 ] && [ "$left" = 0 ] || {
      echo "$n printers: plan exit $plan_code, restart exit $restart_code, run exit $run_code, $left printers left"; exit 1; }
    line=$(awk -v n="$n" -v r="$r" -v s="$startup" -v p="$plan" -v b="$restart" -v x="$run" -v k="$restarts" 'BEGIN {
      k = (k > 0 ? k : 1)
      printf "| %d | %d | %s s | %.2f s | %.2f s | %.2f s | %d | %.1f | %.1f |", n, r, s, p, x, b, k, p / (k * b), x / (k * b) }')
    echo "$line"
    results+=("$line")
  done
done
echo
echo "| Printers | Repetition | Start-up to first line | /all /plan | /all /yes | Bare Spooler restart | Restarts in the run | Plan / restarts | Run / restarts |"
echo "|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
printf '%s\n' "${results[@]}"
