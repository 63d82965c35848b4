#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Removes what one `make install` installed, from the list of files CMake
# wrote as it installed them (paths without DESTDIR, which is put in front
# again here when set): every listed file, then the folders the install made
# that are left empty (the plug-in bundles, .debug/ and doc/ folders).
# Folders that held other files stay.
set -euo pipefail

manifest=${1:?usage: uninstall.sh INSTALL_MANIFEST}
if [ ! -f "$manifest" ]; then
  echo "uninstall: nothing recorded in $manifest; was Nadrix installed with this PREFIX?"
  exit 1
fi

removed=0
while IFS= read -r file || [ -n "$file" ]; do
  [ -n "$file" ] || continue
  file="${DESTDIR:-}$file"
  if [ -e "$file" ] || [ -L "$file" ]; then
    rm -f -- "$file"
    removed=$((removed + 1))
  fi
done < "$manifest"

# The folders only Nadrix's install made, deepest first.
dirs=$(sed -e 's|/[^/]*$||' -e "s|^|${DESTDIR:-}|" "$manifest" | sort -u | grep -E '/(Nadrix\.vst3|Nadrix\.lv2|doc/nadrix)(/|$)|/\.debug$' | sort -r || true)
for dir in $dirs; do
  while [ -d "$dir" ] && rmdir -- "$dir" 2>/dev/null; do
    case "$dir" in */Nadrix.vst3|*/Nadrix.lv2|*/doc/nadrix) break ;; esac
    dir=${dir%/*}
  done
done

rm -f -- "$manifest"
echo "uninstall: removed $removed files"
