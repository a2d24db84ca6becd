#!/usr/bin/env bash
# The benchmarks: a delete-all run on generated workstations of 100, 1,000 and
# 4,000 printers, with time and OS-boundary calls per printer. With
# --instructions, also the instructions the run itself executes per printer
# (callgrind: repeatable whatever else the machine is doing).
set -u
cd "$(dirname "$0")/.."
. scripts/lib/common.sh
ensure_packages "${TESSALY_PACKAGES[@]}" "${BENCH_PACKAGES[@]}" || exit 1
mkdir -p build
configure_and_build build/bench -DCMAKE_BUILD_TYPE=Release || exit 1
./build/bench/bench/tessaly_bench || exit 1
if [ "${1:-}" = "--instructions" ]; then
  for n in 100 1000 4000; do
    valgrind --tool=callgrind --callgrind-out-file="build/bench/callgrind.$n" \
      --toggle-collect='engine::DeletionEngine::RunDeletion()' \
      ./build/bench/bench/tessaly_bench --benchmark_filter="DeleteAllRun/$n/" >/dev/null 2>&1
    total=$(callgrind_annotate "build/bench/callgrind.$n" | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }')
    echo "$n printers: $((total / 3 / n)) instructions per printer inside the run"
  done
fi
