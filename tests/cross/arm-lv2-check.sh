#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The LV2 plug-in sounds the same on 64-bit ARM: cross-built with no fused
# multiply-add anywhere in it, and played under qemu by the smallest host,
# every golden case gives the golden checksum.
# Usage: arm-lv2-check.sh SOURCE_DIR WORK_DIR
set -euo pipefail
source=$1 work=$2
fail() { echo "FAIL: $*"; exit 1; }
mkdir -p "$work"
bash "$source/scripts/build-aarch64.sh" "$work" > "$work/build.log" 2>&1 || { cat "$work/build.log"; fail "the LV2 plug-in does not build for aarch64"; }

bundle="$work/Nadrix_artefacts/LV2/Nadrix.lv2"
fused=$(aarch64-linux-gnu-objdump -d "$bundle/Nadrix.so" | grep -cE '[[:space:]](fn?madd|fn?msub|fmla|fmls)[[:space:]]' || true)
[ "$fused" -eq 0 ] || fail "the aarch64 plug-in contains $fused fused multiply-adds"
aarch64-linux-gnu-objdump -f "$bundle/Nadrix.so" | grep -q "architecture: aarch64" || fail "$bundle/Nadrix.so is not an aarch64 library"

qemu-aarch64 -L /usr/aarch64-linux-gnu "$work/tests/cross/lv2_golden_check" "$bundle"
