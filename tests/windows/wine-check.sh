#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the Windows build under Wine: the small Windows host loads the Windows
# VST3 and renders every factory program's golden case, and each checksum must
# be the one the Linux tests pin (tests/processor/GoldenCases.h), to
# the bit; it also paints the window with the Windows build and compares it
# with the Linux reference picture (tests/ui/reference), and leaves the
# picture in the build folder (window-under-wine.png). Last, nadrix-render.exe
# renders the demo through "Nice Hall" to WAV and AIFF, byte for byte as the
# Linux build's nadrix-render does, with the same exit codes for a missing
# input and a wrong option; and the Standalone opens its window.
# Usage: wine-check.sh BUILD-WINDOWS-DIR LINUX-BUILD-DIR
set -euo pipefail
build=$(cd "$1" && pwd)
linux_build=$(cd "$2" && pwd)
source=$(cd "$(dirname "$0")/../.." && pwd)
wine=/usr/lib/wine/wine64

host="$build/tests/windows/nadrix-wine-host.exe"
render="$build/tools/nadrix-render/nadrix-render.exe"
linux_render="$linux_build/tools/nadrix-render/nadrix-render"
plugin="$build/Nadrix_artefacts/Release/VST3/Nadrix.vst3/Contents/x86_64-win/Nadrix.vst3"
for f in "$host" "$plugin" "$render" "$linux_render"; do [ -f "$f" ] || { echo "wine-check: $f is missing (make windows first)"; exit 1; }; done

# A Wine prefix of its own, made once per build folder.
export WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || "$wine" wineboot --init > /dev/null 2>&1

windows_path() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
failed=0
actual=$("$wine" "$host" "$(windows_path "$plugin")" "$(windows_path "$source/tests/ui/reference/window-nice-hall.png")" \
                          "$(windows_path "$build/window-under-wine.png")" | tr -d '\r') || failed=1
echo "$actual"

for program in 0 1 2 3 4 5; do
  expected=$(grep -oE "\{ \"\", $program, false, -1\.00f, 44100\.0, 0x[0-9a-f]{16}ull \}" "$source/tests/processor/GoldenCases.h" | grep -oE "0x[0-9a-f]{16}")
  got=$(awk -v p="$program" '$1 == p { print $2 }' <<< "$actual")
  if [ "$got" = "$expected" ]; then
    echo "wine-check: program $program under Wine is bit-identical to Linux ($expected)"
  else
    echo "wine-check: program $program under Wine gives ${got:-nothing}, Linux $expected"
    failed=1
  fi
done
work="$build/wine-check"
rm -rf "$work" && mkdir -p "$work"
for kind in wav aiff; do
  "$linux_render" --demo --program "Nice Hall" -o "$work/linux.$kind" > /dev/null
  "$wine" "$render" --demo --program "Nice Hall" -o "$(windows_path "$work/windows.$kind")" > /dev/null
  if cmp -s "$work/linux.$kind" "$work/windows.$kind"; then
    echo "wine-check: nadrix-render.exe writes the same $kind file as Linux ($(stat -c %s "$work/linux.$kind") bytes)"
  else
    echo "wine-check: nadrix-render.exe writes another $kind file than Linux"; failed=1
  fi
done
for case in "missing.wav -o out.wav:1" "--no-such-option:2"; do
  code=0; "$wine" "$render" ${case%:*} > /dev/null 2>&1 || code=$?
  if [ "$code" = "${case#*:}" ]; then
    echo "wine-check: nadrix-render.exe ${case%:*} exits $code, as on Linux"
  else
    echo "wine-check: nadrix-render.exe ${case%:*} exits $code, Linux ${case#*:}"; failed=1
  fi
done

# The Standalone starts on a virtual X server and opens its window, titled
# with its program; then it is stopped with the rest of the prefix's Wine.
# (What the window draws is checked by the host's picture above: on Xvfb
# under Wine the Standalone's OpenGL surface stays black.)
app="$build/Nadrix_artefacts/Release/Standalone/Nadrix.exe"
/usr/lib/wine/wineserver64 -k 2> /dev/null || true # the session above has no display; its desktop would hold the window
if xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$0" "$1" > /dev/null 2>&1 &
    for _ in $(seq 1 300); do
      window=$(xdotool search --name "^Nadrix - " 2>/dev/null | head -n 1)
      [ -n "$window" ] && { xdotool getwindowname "$window"; /usr/lib/wine/wineserver64 -k; exit 0; }
      sleep 0.2
    done
    /usr/lib/wine/wineserver64 -k; exit 1' "$wine" "$app" > "$work/standalone-title" 2> /dev/null; then
  echo "wine-check: the Standalone opens its window under Wine, titled \"$(cat "$work/standalone-title")\""
else
  echo "wine-check: the Standalone opened no window under Wine within 60 s"; failed=1
fi
exit $failed
