#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The engine sounds the same on another instruction set: built for 64-bit ARM
# (where only the plain C++ line pass exists), with no fused multiply-add in
# its code, and run under qemu, the engine as constructed gives the same bits
# as on this machine.
# Usage: arm-engine-check.sh HOST_ENGINE_CHECKSUM SOURCE_DIR WORK_DIR
set -euo pipefail
host_checksum=$1 source=$2 work=$3
fail() { echo "FAIL: $*"; exit 1; }
for tool in aarch64-linux-gnu-g++ aarch64-linux-gnu-objdump qemu-aarch64; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

mkdir -p "$work"
log="$work/build.log"
{
  cmake -S "$source/engine" -B "$work" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_SYSTEM_NAME=Linux -DCMAKE_SYSTEM_PROCESSOR=aarch64 -DCMAKE_CXX_COMPILER=aarch64-linux-gnu-g++ &&
  cmake --build "$work" &&
  aarch64-linux-gnu-g++ -std=c++17 -O2 -ffp-contract=off -I"$source" "$source/tests/engine/EngineChecksumMain.cpp" \
                        "$work/libnadrix_engine.a" -lpthread -static -o "$work/engine_checksum"
} > "$log" 2>&1 || { cat "$log"; fail "the engine does not build for aarch64"; }

fused=$(aarch64-linux-gnu-objdump -d "$work/libnadrix_engine.a" | grep -cE '[[:space:]](fn?madd|fn?msub|fmla|fmls)[[:space:]]' || true)
[ "$fused" -eq 0 ] || fail "the aarch64 engine contains $fused fused multiply-adds"

arm=$(qemu-aarch64 "$work/engine_checksum")
here=$("$host_checksum")
[ "$arm" = "$here" ] || fail "the engine on aarch64 gives $arm, here $here"
echo "the engine on aarch64 gives $arm, as here"
