#!/usr/bin/env bash
# fuzz.sh [seconds] [--merge]: builds every libFuzzer target (tests/fuzz) with
# clang in build/fuzz; for each, replays its committed corpus
# (tests/fuzz/corpus/<target>) and then fuzzes it for that many seconds (60
# unless told) in a scratch corpus seeded from the committed one, so the
# committed corpus only changes when asked: with --merge, up to 30 inputs a
# target are added to it, each the one that reaches the most code (edges)
# that neither the committed inputs nor those picked before it reach. Every
# such input would be hundreds for the machine image, most of them corners
# of the JSON library; the corpus is kept to tens a target. One line per target; the last line sums
# up. Exits non-zero when a target fails: the input is kept in
# build/fuzz/findings/ and the target's log in build/fuzz/logs/.
set -u
cd "$(dirname "$0")/.."
. scripts/lib/common.sh

seconds=60
merge=0
for arg in "$@"; do
  case "$arg" in
    --merge) merge=1 ;;
    *) seconds="$arg" ;;
  esac
done

ensure_packages "${TESSALY_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}" || { echo "could not install the packages"; exit 1; }
targets=($(sed -n 's/^tessaly_fuzz_target(\([a-z_]*\) .*/\1/p' tests/fuzz/CMakeLists.txt))
mkdir -p build
BUILD_ONLY="${targets[*]}" configure_and_build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 || { echo "the fuzz targets did not build"; exit 1; }

# pick_inputs CONTROL COMMITTED: from a merge's control file, the scratch
# inputs to add, greedily, most new edges first, while one adds two or more.
pick_inputs() {
  awk -v cap=30 -v committed="$2/" '
    NR == 1 { n = $1; next }
    NR == 2 { next }
    NR <= n + 2 { path[NR - 3] = $0; next }
    $1 == "COV" { line = $0; sub(/^COV [0-9]+/, "", line); edges[$2] = line }
    END {
      for (i = 0; i < n; i++) {
        if (index(path[i], committed) != 1) continue
        m = split(edges[i], e, " ")
        for (k = 1; k <= m; k++) seen[e[k]] = 1
      }
      for (picked = 0; picked < cap; picked++) {
        best = -1; most = 1
        for (i = 0; i < n; i++) {
          if (index(path[i], committed) == 1 || taken[i]) continue
          m = split(edges[i], e, " "); gain = 0
          for (k = 1; k <= m; k++) if (!(e[k] in seen)) gain++
          if (gain > most) { most = gain; best = i }
        }
        if (best < 0) break
        taken[best] = 1
        m = split(edges[best], e, " ")
        for (k = 1; k <= m; k++) seen[e[k]] = 1
        print path[best]
      }
    }' "$1"
}

rm -rf build/fuzz/scratch build/fuzz/findings build/fuzz/logs build/fuzz/merge
mkdir -p build/fuzz/scratch build/fuzz/findings build/fuzz/logs build/fuzz/merge
total_runs=0
findings=0
for target in "${targets[@]}"; do
  binary="build/fuzz/tests/fuzz/$target"
  corpus="tests/fuzz/corpus/$target"
  scratch="build/fuzz/scratch/$target"
  log="build/fuzz/logs/$target.log"
  mkdir -p "$scratch"
  [ -d "$corpus" ] && cp "$corpus"/* "$scratch"/ 2>/dev/null
  seeds=$(ls "$scratch" | wc -l)

  # Every committed input first, each once: a fault fixed once stays fixed.
  if ! "$binary" -runs=0 -artifact_prefix="build/fuzz/findings/$target-" "$scratch" >"$log.replay" 2>&1; then
    findings=$((findings + 1))
    printf '%-24s replay of %s seeds FAILED (see %s.replay, input in build/fuzz/findings/)\n' "$target" "$seeds" "$log"
    continue
  fi
  "$binary" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build/fuzz/findings/$target-" \
    "$scratch" >"$log" 2>&1
  code=$?
  runs=$(awk '/^stat::number_of_executed_units:/ { print $2 }' "$log")
  speed=$(awk '/^stat::average_exec_per_sec:/ { print $2 }' "$log")
  total_runs=$((total_runs + ${runs:-0}))
  result="ok"
  if [ $code -ne 0 ]; then
    findings=$((findings + 1))
    result="FINDING (see $log, input in build/fuzz/findings/)"
  elif [ $merge -eq 1 ]; then
    mkdir -p "$corpus" "build/fuzz/merge/$target"
    if "$binary" -merge=1 -use_counters=0 -merge_control_file="build/fuzz/merge/$target.control" \
      "build/fuzz/merge/$target" "$corpus" "$scratch" >"$log.merge" 2>&1; then
      added=0
      for input in $(pick_inputs "build/fuzz/merge/$target.control" "$corpus"); do
        cp "$input" "$corpus/found-$(cut -c1-12 <<<"${input##*/}")"
        added=$((added + 1))
      done
      result="$result, $added inputs merged into $corpus"
    else
      result="merge FAILED (see $log.merge)"
    fi
  fi
  printf '%-24s %10s runs %7s exec/s  corpus %3s -> %5s  %s\n' "$target" "${runs:-?}" "${speed:-?}" "$seeds" \
    "$(ls "$scratch" | wc -l)" "$result"
done

echo "${#targets[@]} targets, corpus replayed, $total_runs runs, $findings findings"
[ $findings -eq 0 ]
