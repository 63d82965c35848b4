#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a built tree: `scripts/install.sh BUILD_DIR PREFIX`. With PREFIX
# equal to $HOME the plug-ins go where hosts look for a user's plug-ins
# (~/.vst3, ~/.lv2) and the programs into ~/.local; any other PREFIX gets the
# system layout (PREFIX/lib/vst3, PREFIX/lib/lv2, PREFIX/bin, PREFIX/share).
# DESTDIR, when set, is put in front of every path. Binaries are stripped,
# their debugging information kept in .debug/ beside them. The list of what
# was installed is kept for scripts/uninstall.sh and printed at the end.
set -euo pipefail

build=${1:?usage: install.sh BUILD_DIR PREFIX}
prefix=${2:?usage: install.sh BUILD_DIR PREFIX}
record="$build/installed$(echo "${DESTDIR:-}$prefix" | tr '/' '-').txt"

cmake --install "$build" --prefix "$prefix" --strip > "$build/install.log"
cp "$build/install_manifest.txt" "$record"

echo "install: Nadrix into ${DESTDIR:-}$prefix"
sed -e "s|^$prefix/|  |" -e '/\.debug\//d' "$record"
echo
echo "install: to remove exactly these files again: make uninstall$( [ "$prefix" = "$HOME" ] || echo " PREFIX=$prefix")$( [ -z "${DESTDIR:-}" ] || echo " DESTDIR=$DESTDIR")"
