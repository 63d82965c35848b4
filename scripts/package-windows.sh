#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Packages a Windows build (make windows) as a zip and an NSIS installer in
# BUILD/packages. Usage: package-windows.sh BUILD-WINDOWS-DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
artefacts="$build/Nadrix_artefacts/Release"
stage="$build/package-stage/Nadrix"
out="$build/packages"

rm -rf "$build/package-stage" && mkdir -p "$stage" "$out"
cp "$artefacts/Standalone/Nadrix.exe" "$build/tools/nadrix-render/nadrix-render.exe" "$stage/"
cp -r "$artefacts/VST3/Nadrix.vst3" "$stage/"
# Text files with Windows line ends, so that Notepad shows their lines.
sed 's/$/\r/' "$source/LICENSE" > "$stage/LICENSE.txt"
sed 's/$/\r/' "$source/cmake/windows/README.txt" > "$stage/README.txt"

zip_file="$out/Nadrix-$version-windows-x64.zip"
rm -f "$zip_file"
(cd "$build/package-stage" && zip -q -r -X "$zip_file" Nadrix)

installer="$out/Nadrix-$version-windows-x64-setup.exe"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$installer" "$source/cmake/windows/Installer.nsi"
ls -1 "$zip_file" "$installer"
