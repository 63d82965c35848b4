#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds for Windows the one library nadrix-render needs that Debian has not
# for Windows: libsndfile, from Debian's own source package (with Debian's
# patches), without codec libraries (so WAV, RF64 and AIFF; no FLAC, Ogg,
# Opus or MP3), into BUILD/windows-libraries/prefix. Done once per build
# folder. Usage: windows-libraries.sh BUILD-WINDOWS-DIR
set -euo pipefail
build=$(mkdir -p "$1" && cd "$1" && pwd)
source=$(cd "$(dirname "$0")/.." && pwd)
work="$build/windows-libraries"
prefix="$work/prefix"

if [ -f "$prefix/lib/libsndfile.a" ]; then
  exit 0
fi
rm -rf "$work" && mkdir -p "$work/apt/lists/partial" "$work/apt/cache" "$work/source"

# The source package through apt, with a configuration of our own: the
# machine's apt settings are left as they are.
cat > "$work/apt/sources.list" <<SOURCES
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian-security bookworm-security main
SOURCES
apt=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/nonexistent
     -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache" -o APT::Sandbox::User=root)
apt-get "${apt[@]}" update -qq
(cd "$work/source" && apt-get "${apt[@]}" source --download-only -qq libsndfile > /dev/null)
# apt has checked every file against the archive's signed index; the
# uploader's own signature on the .dsc is not in any keyring here.
dpkg-source -x "$work"/source/libsndfile_*.dsc "$work/source/libsndfile" > "$work/unpack.log" 2>&1 || { cat "$work/unpack.log"; exit 1; }

cmake -S "$work/source/libsndfile" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$source/cmake/windows/mingw-w64-x86_64.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DBUILD_SHARED_LIBS=OFF -DENABLE_EXTERNAL_LIBS=OFF -DENABLE_MPEG=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF \
      -DBUILD_TESTING=OFF -DENABLE_CPACK=OFF -DINSTALL_MANPAGES=OFF > "$work/build.log" 2>&1 &&
  cmake --build "$work/build" --target install >> "$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
echo "windows-libraries: libsndfile $(sed -n 's/^Version: //p' "$prefix/lib/pkgconfig/sndfile.pc") built for Windows in $prefix"
