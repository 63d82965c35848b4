#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the fuzz targets of a memory-checked build made with clang: each first
# replays its committed seeds (fuzz/corpus/NAME) and what earlier runs kept
# (BUILD/fuzz/corpus/NAME), then fuzzes for SECONDS, keeping new inputs in
# BUILD/fuzz/corpus/NAME. A crash, a leak, undefined behaviour, a timeout or
# running out of memory fails the run; the input that did it is left in
# BUILD/fuzz/findings/NAME/ and the command that replays it is printed.
#   scripts/fuzz.sh BUILD SECONDS [NAME...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "$1")
seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(state vst3-state host-writes parameter-text audio-file manifest command-line lv2-plugin)

failed=()
for name in "${targets[@]}"; do
  target="$build/fuzz/fuzz_$name"
  seeds="$PWD/fuzz/corpus/$name"
  kept="$build/fuzz/corpus/$name"
  findings="$build/fuzz/findings/$name"
  log="$build/fuzz/$name.log"
  mkdir -p "$kept" "$findings"
  options=(-artifact_prefix="$findings/" -timeout=30 -rss_limit_mb=4096 -print_final_stats=1)
  [ -f "fuzz/corpus/$name.dict" ] && options+=(-dict="$PWD/fuzz/corpus/$name.dict")

  # New inputs go into the first folder named: the build's, never the seeds.
  if "$target" "${options[@]}" -runs=0 "$kept" "$seeds" > "$log" 2>&1 \
     && "$target" "${options[@]}" -max_total_time="$seconds" "$kept" "$seeds" >> "$log" 2>&1; then
    executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | tail -1 | grep -o '[0-9]*$')
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
    printf 'fuzz %-15s passed: %s runs, %s, %s inputs kept in %s\n' "$name" "${executions:-0}" "${coverage:-cov: ?}" \
      "$(ls "$kept" | wc -l)" "$kept"
  else
    failed+=("$name")
    echo "fuzz $name FAILED:"
    grep -E 'ERROR|finding:|SUMMARY|Test unit written|timeout|out-of-memory' "$log" | head -20 || tail -40 "$log"
    for input in "$findings"/*; do
      [ -e "$input" ] && echo "  replay: $target $input"
    done
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: ${#failed[@]} target(s) failed: ${failed[*]} (logs in $build/fuzz)"
  exit 1
fi
