#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The LV2 plug-in for 64-bit ARM Linux (the DSP, no window: headless hosts
# on small boards), cross-built with Debian's g++-aarch64-linux-gnu; its
# descriptions are written by the description writer run under qemu-user.
# With --package, also the bundle stripped, in a tarball under DIR/packages.
# Usage: build-aarch64.sh DIR [--package]
set -euo pipefail
work=$1
source=$(cd "$(dirname "$0")/.." && pwd)
for tool in aarch64-linux-gnu-g++ qemu-aarch64; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done

mkdir -p "$work"
cmake -S "$source" -B "$work" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$source/cmake/aarch64-linux-gnu.cmake" -DNADRIX_BUILD_PLUGIN=OFF > "$work/configure.log" 2>&1 ||
  { cat "$work/configure.log"; exit 1; }
cmake --build "$work"

if [ "${2:-}" = "--package" ]; then
  version=$(sed -n 's/^project *(Nadrix VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
  stage="$work/packages/stage/Nadrix.lv2"
  rm -rf "$work/packages"
  mkdir -p "$stage"
  cp "$work/Nadrix_artefacts/LV2/Nadrix.lv2/"*.ttl "$stage/"
  aarch64-linux-gnu-strip --strip-unneeded -o "$stage/Nadrix.so" "$work/Nadrix_artefacts/LV2/Nadrix.lv2/Nadrix.so"
  cp "$source/LICENSE" "$stage/" 2>/dev/null || true
  tar -C "$work/packages/stage" -czf "$work/packages/Nadrix-$version-lv2-aarch64.tar.gz" Nadrix.lv2
  rm -rf "$work/packages/stage"
  echo "$work/packages/Nadrix-$version-lv2-aarch64.tar.gz"
fi
