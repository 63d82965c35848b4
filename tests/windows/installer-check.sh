#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Windows installer silently under Wine in a fresh prefix,
# checks that every file and the Start menu entry are where it says, then
# uninstalls and checks that nothing of Nadrix is left.
# Usage: installer-check.sh BUILD-WINDOWS-DIR
set -euo pipefail
build=$(cd "$1" && pwd)
wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver64
installer=$(ls "$build"/packages/Nadrix-*-windows-x64-setup.exe)

export WINEPREFIX="$build/wine-installer-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
"$wine" wineboot --init > /dev/null 2>&1
drive="$WINEPREFIX/drive_c"
installed=(
  "Program Files/Nadrix/Nadrix.exe"
  "Program Files/Nadrix/nadrix-render.exe"
  "Program Files/Nadrix/LICENSE.txt"
  "Program Files/Nadrix/README.txt"
  "Program Files/Nadrix/Uninstall.exe"
  "Program Files/Common Files/VST3/Nadrix.vst3/Contents/x86_64-win/Nadrix.vst3"
  "ProgramData/Microsoft/Windows/Start Menu/Programs/Nadrix/Nadrix.lnk"
  "ProgramData/Microsoft/Windows/Start Menu/Programs/Nadrix/Uninstall Nadrix.lnk"
)
failed=0

"$wine" "$installer" /S
"$wineserver" -w
for f in "${installed[@]}"; do
  if [ -f "$drive/$f" ]; then echo "installer-check: installed C:/$f"; else echo "installer-check: missing C:/$f"; failed=1; fi
done

# _?= keeps the uninstaller in place, so that it finishes before it returns.
"$wine" 'C:\Program Files\Nadrix\Uninstall.exe' /S '_?=C:\Program Files\Nadrix'
"$wineserver" -w
rm -f "$drive/Program Files/Nadrix/Uninstall.exe" # what _?= leaves by design
left=$(find "$drive" -iname '*nadrix*' | sed "s|$drive/|C:/|")
if [ -n "$left" ]; then
  echo "installer-check: left after uninstalling:"; echo "$left"; failed=1
else
  echo "installer-check: the uninstaller left nothing of Nadrix"
fi
if "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Nadrix' /reg:64 > /dev/null 2>&1; then
  echo "installer-check: the uninstall entry is still in the registry"; failed=1
fi
exit $failed
