#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The LV2 plug-in as hosts meet it: installed stripped into a scratch folder,
# loaded through lilv, and measured beside any other LV2 plug-ins named by
# URI (found on LV2_PATH, or in ~/.lv2, /usr/local/lib/lv2 and /usr/lib/lv2).
# Usage: scripts/bench-lv2.sh [BUILD_DIR] [URI...]   (after `make build`)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
shift || true
cost="$build/bench/lv2_instance_cost"
[ -x "$cost" ] || { echo "bench-lv2: build first (make build; it needs liblilv-dev)" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake --install "$build" --prefix "$scratch" --component lv2 --strip >/dev/null
LV2_PATH="$scratch/lib/lv2:${LV2_PATH:-$HOME/.lv2:/usr/local/lib/lv2:/usr/lib/lv2}" "$cost" https://mirelock.com/plugins/nadrix "$@"
