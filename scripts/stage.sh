#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one stage of a longer job (`make test`, CI) and says how long it took.
#   scripts/stage.sh NAME COMMAND [ARGS...]
set -u
name=$1
shift
start=$(date +%s)
"$@"
status=$?
seconds=$(( $(date +%s) - start ))
printf '== stage "%s": %s in %d min %02d s\n' "$name" "$([ $status -eq 0 ] && echo passed || echo FAILED)" $((seconds / 60)) $((seconds % 60))
exit $status
