#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build and the tests need, and only those
# that are missing. Safe to run again: with everything present it does nothing.
set -euo pipefail

packages=(
  # toolchain and test frameworks
  build-essential cmake ninja-build ccache pkg-config patch
  libgtest-dev libbenchmark-dev
  # clang for the memory-checked build and libFuzzer for its fuzz targets
  clang libfuzzer-14-dev libclang-rt-14-dev
  # JUCE 7 and what its modules compile and link against on Linux
  juce-modules-source
  libasound2-dev libfreetype-dev libfontconfig1-dev libflac-dev libgl1-mesa-dev
  # nadrix-render reads and writes audio files through libsndfile
  libsndfile1-dev
  libx11-dev libxcomposite-dev libxcursor-dev libxext-dev libxinerama-dev libxrandr-dev libxrender-dev
  # lv2info and lv2_validate (with sordi's sord_validate), which the tests
  # run on the built LV2 bundle, and LV2's own vocabulary bundles, from
  # which they know the plug-in classes
  lilv-utils liblilv-dev lv2-dev sordi
  # packaging: the Debian package check
  lintian
  # the Python module: pybind11 and Python's headers to build it, numpy for
  # its arrays, pytest to test it, Dask's distributed for the cluster test
  pybind11-dev python3-dev python3-numpy python3-pytest python3-distributed
  # GNU parallel, with which the renderer's manifest test shards a batch
  parallel
  # rsync, with which the mutation check copies the sources to its scratch tree
  rsync
  # a private X server with Mesa's OpenGL and a font, for the Standalone window test
  xvfb xauth x11-utils xdotool libgl1-mesa-dri fonts-dejavu-core
  # the engine built for 64-bit ARM and run under qemu, for the same-sound check
  g++-aarch64-linux-gnu qemu-user
  # the Windows build: mingw-w64 with posix threads, zlib for Windows, stb's
  # image codecs (header-only), dpkg-source for libsndfile's source package,
  # Wine to test it, NSIS and zip to package it
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev libstb-dev dpkg-dev wine64 nsis zip
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
