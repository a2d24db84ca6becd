#!/usr/bin/env bash
# soak.sh [runs]: the deletion run on that many generated hostile workstations
# (10 000 unless told), each judged by the soak's own oracle. Prints the runs
# per second and, for a failing run, its seed, what went wrong, what was
# injected and the machine; TESSALY_SOAK_SEED=<seed> replays one run.
set -u
cd "$(dirname "$0")/.."
. scripts/lib/common.sh

runs="${1:-10000}"
ensure_packages "${TESSALY_PACKAGES[@]}" || { echo "could not install the packages"; exit 1; }
mkdir -p build
configure_and_build build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
TESSALY_SOAK_RUNS="$runs" ./build/native/tests/tessaly_tests --gtest_filter='Soak.*' --gtest_color=no
