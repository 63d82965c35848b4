#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package as `make package` does, checks its paths and its
# dependencies, extracts it and loads the extracted VST3 and LV2 through
# JUCE's hosting, and runs lintian on it, which must report no error.
set -euo pipefail
build=$1 hosting_tests=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Text is searched with here-strings (see install-check.sh for why).

rm -rf "$build/packages"
(cd "$build" && cpack > cpack.log 2>&1) || { cat "$build/cpack.log"; fail "cpack"; }
deb="$build/packages/nadrix_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb"
[ -f "$build/packages/nadrix-dbgsym_${version}_amd64.ddeb" ] || fail "no debug symbol package"

listing=$(dpkg-deb -c "$deb")
for path in ./usr/lib/vst3/Nadrix.vst3/Contents/x86_64-linux/Nadrix.so ./usr/lib/lv2/Nadrix.lv2/Nadrix.so ./usr/lib/lv2/Nadrix.lv2/dsp.ttl \
            ./usr/bin/nadrix ./usr/bin/nadrix-render ./usr/share/applications/nadrix.desktop ./usr/share/doc/nadrix/copyright \
            "./usr/lib/python3/dist-packages/$(basename "$(ls "$build"/python/nadrix.*.so)")" ./usr/lib/python3/dist-packages/nadrix.pyi; do
  grep -q " $path\$" <<< "$listing" || fail "the package lacks $path"
done
# Every picture the packaged README shows is packaged beside it.
for image in $(grep -o '](docs/[^)]*\.png)' "$(dirname "$0")/../../README.md" | sed 's/^](//; s/)$//' | sort -u); do
  grep -q " ./usr/share/doc/nadrix/$image\$" <<< "$listing" || fail "the package's README shows $image, which it lacks"
done
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libc6' <<< "$depends" || fail "no computed dependencies: $depends"

dpkg-deb -x "$deb" "$work/root"
NADRIX_PACKAGED_VST3="$work/root/usr/lib/vst3/Nadrix.vst3" NADRIX_PACKAGED_LV2="$work/root/usr/lib/lv2/Nadrix.lv2" \
  "$hosting_tests" --gtest_filter='PackagedBundles.*' --gtest_brief=1 || fail "the extracted bundles do not load"
# Debian's python3 imports the packaged module from where the package puts it.
found=$(PYTHONPATH="$work/root/usr/lib/python3/dist-packages" /usr/bin/python3 -c 'import nadrix; print(nadrix.__file__, nadrix.__version__)') \
  || fail "python3 cannot import the packaged module"
[[ "$found" == "$work/root/usr/lib/python3/dist-packages/nadrix."*".so $version" ]] || fail "python3 imported '$found'"
grep -q 'python3-numpy' <<< "$(dpkg-deb -f "$deb" Recommends)" || fail "the package does not recommend python3-numpy"

report=$(lintian "$deb" 2>&1 | grep -v 'running with root privileges' || true)
echo "$report"
grep -q '^E:' <<< "$report" && fail "lintian reports errors"
echo "package $(basename "$deb"): paths, dependencies, hosting and lintian checked"
