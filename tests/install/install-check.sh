#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the built tree as `make install` does, once for a user (into a
# temporary HOME) and once system-wide (PREFIX=/usr/local under a temporary
# DESTDIR); checks where every part lands, that the binaries are stripped
# with their debugging information beside them, that lv2info finds the LV2
# bundle through LV2_PATH, that the installed nadrix-render tells its
# version and that Python imports the installed module; then uninstalls and
# checks that nothing is left.
set -euo pipefail
build=$1 version=$2 uri=$3
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }
# Text is searched with here-strings, never `echo "$text" | grep -q`: grep -q
# stops at its first match, echo then dies of SIGPIPE while writing a long
# text, and pipefail turns that into a failed check whenever the writer is
# slower than the reader (a loaded machine).

python=/usr/bin/python3
module=$(basename "$(ls "$build"/python/nadrix.*.so)")

# Python imports nadrix from this folder, and from no other.
check_import() { # folder, then VAR=value... for the interpreter
  local folder=$1 found
  shift
  found=$(env "$@" "$python" -c 'import nadrix; print(nadrix.__file__, nadrix.__version__)') || fail "python3 cannot import the installed module"
  [ "$found" = "$folder/$module $version" ] || fail "python3 imported '$found', not $folder/$module $version"
}

check_layout() { # root vst3 lv2 bin share python
  local root=$1
  for f in "$2/Nadrix.vst3/Contents/x86_64-linux/Nadrix.so" "$3/Nadrix.lv2/Nadrix.so" "$3/Nadrix.lv2/manifest.ttl" \
           "$4/nadrix" "$4/nadrix-render" "$5/applications/nadrix.desktop" "$5/icons/hicolor/256x256/apps/nadrix.png" \
           "$5/man/man1/nadrix-render.1.gz" "$5/doc/nadrix/copyright" "$6/$module" "$6/nadrix.pyi"; do
    [ -f "$root/$f" ] || fail "missing $root/$f"
  done
  for binary in "$2/Nadrix.vst3/Contents/x86_64-linux/Nadrix.so" "$3/Nadrix.lv2/Nadrix.so" "$4/nadrix" "$4/nadrix-render" "$6/$module"; do
    grep -q '\.debug_info' <<< "$(readelf -S "$root/$binary")" && fail "$binary is not stripped"
    [ -f "$(dirname "$root/$binary")/.debug/$(basename "$binary").debug" ] || fail "no debugging information kept for $binary"
  done
  return 0
}

check_removed() {
  local left
  left=$(find "$1" -type f -o -type d -iname '*nadrix*' | head -n 5)
  [ -z "$left" ] || fail "uninstall left: $left"
}

# For a user: HOME is the prefix.
home="$work/home"
mkdir -p "$home"
HOME="$home" bash "$scripts/install.sh" "$build" "$home" > "$work/user.log"
pythonDir=.local/lib/python$("$python" -c 'import sys; print("%d.%d" % sys.version_info[:2])')/site-packages
check_layout "$home" .vst3 .lv2 .local/bin .local/share "$pythonDir"
check_import "$home/$pythonDir" HOME="$home"
out=$(HOME="$home" LV2_PATH="$home/.lv2:/usr/lib/lv2" lv2info "$uri" 2>&1) || fail "lv2info: $out"
grep -q "Name: *Nadrix" <<< "$out" || fail "lv2info did not list the installed bundle: $out"
[ "$("$home/.local/bin/nadrix-render" --version)" = "nadrix-render $version" ] || fail "installed nadrix-render does not say $version"
HOME="$home" bash "$scripts/uninstall.sh" "$build/installed$(echo "$home" | tr '/' '-').txt" > /dev/null
check_removed "$home"

# System-wide, under DESTDIR.
stage="$work/stage"
DESTDIR="$stage" bash "$scripts/install.sh" "$build" /usr/local > "$work/system.log"
systemPythonDir=lib/python$("$python" -c 'import sys; print("%d.%d" % sys.version_info[:2])')/dist-packages
check_layout "$stage/usr/local" lib/vst3 lib/lv2 bin share "$systemPythonDir"
check_import "$stage/usr/local/$systemPythonDir" PYTHONPATH="$stage/usr/local/$systemPythonDir"
DESTDIR="$stage" bash "$scripts/uninstall.sh" "$build/installed$(echo "$stage/usr/local" | tr '/' '-').txt" > /dev/null
check_removed "$stage"

echo "installed and uninstalled for a user and under DESTDIR=.../usr/local: every part in place, nothing left"
