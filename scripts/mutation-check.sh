#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plants small deliberate faults in the sources one at a time, on a scratch
# copy, and reports which no test catches (scripts/mutation-check.py holds
# the list). The first run compiles JUCE in the scratch copy; NADRIX_MUTATION_DIR
# chooses where (default /tmp/nadrix-mutation).
set -euo pipefail
cd "$(dirname "$0")/.."
need=()
command -v python3 >/dev/null || need+=(python3)
command -v rsync >/dev/null || need+=(rsync)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi
exec python3 scripts/mutation-check.py "$@"
