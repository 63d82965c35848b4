#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the test suite over and over while busy loops keep every core loaded,
# to flush out tests that lean on timing or on scheduling luck. Each test of
# the normal build (build/) and of the ThreadSanitizer build (build-tsan/)
# runs RUNS times (default 20) or until it first fails; the summary gives the
# runs, the failures and the time per build. Build both first (`make test`).
#
#   scripts/stress-tests.sh [RUNS] [-- CTEST-ARGS...]   e.g. scripts/stress-tests.sh 5 -- -R Render
set -euo pipefail
cd "$(dirname "$0")/.."

runs=20
if [ $# -gt 0 ] && [ "$1" != "--" ]; then runs=$1; shift; fi
if [ $# -gt 0 ] && [ "$1" = "--" ]; then shift; fi
case "$runs" in '' | *[!0-9]* | 0) echo "stress-tests: RUNS must be a whole number above 0, not '$runs'" >&2; exit 2 ;; esac

for dir in build build-tsan; do
  [ -f "$dir/CTestTestfile.cmake" ] || { echo "stress-tests: $dir/ is not built; run 'make test' first" >&2; exit 2; }
done

# One busy loop per core, stopped however this script ends.
loaders=()
for _ in $(seq 1 "$(nproc)"); do
  (while :; do :; done) &
  loaders+=($!)
done
trap 'kill "${loaders[@]}" 2>/dev/null || true' EXIT
echo "stress-tests: ${#loaders[@]} busy loops running, one per core"

failed=0
for dir in build build-tsan; do
  start=$(date +%s)
  log="$dir/stress-tests.log"
  echo "== $dir: every test $runs times or until it fails (log: $log)"
  if (cd "$dir" && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
        ctest --output-on-failure --repeat "until-fail:$runs" "$@") > "$log" 2>&1; then
    status=passed
  else
    status=FAILED
    failed=1
    grep -E '\*\*\*|Failed|FAILED' "$log" | sed 's/^/  /' || true
  fi
  summary=$(grep -E 'tests passed' "$log" | tail -1)
  echo "   $status in $(( $(date +%s) - start )) s: ${summary:-no summary (see the log)}"
done
exit $failed
