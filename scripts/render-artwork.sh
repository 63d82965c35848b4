#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Regenerates the editor's PNG images in resources/ from their SVG sources in
# resources/svg/, at their size and at twice it, and checks every image's
# pixel size and colour type. The
# PNGs are committed, so a build never needs this script; run it after
# editing a source. Needs librsvg2-bin, python3-pil and fonts-inter.
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
command -v rsvg-convert >/dev/null || need+=(librsvg2-bin)
/usr/bin/python3 -c 'import PIL' 2>/dev/null || need+=(python3-pil)
fc-list | grep -q 'Inter' || need+=(fonts-inter)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "render-artwork: installing ${need[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

# name  width  height  colour type (RGB: no alpha)
images="
bkg_au                 850 596 RGB
new_line_btn            29  29 RGBA
render_random_btn       33  30 RGBA
render_random_down_btn  33  30 RGBA
about_btn              110  54 RGBA
about_down_btn         110  54 RGBA
help_btn               104  45 RGBA
help_down_btn          104  45 RGBA
btn_delaytime_up        54  54 RGBA
btn_delaytime_down      54  54 RGBA
btn_feedback_up         54  54 RGBA
btn_feedback_down       54  54 RGBA
btn_highcut_up          54  54 RGBA
btn_highcut_down        54  54 RGBA
btn_trashcan_up         54  54 RGBA
btn_trashcan_down       54  54 RGBA
"

# The application icon for desktop menus, at two sizes.
for size in 256 48; do
  rsvg-convert -w $size -h $size resources/svg/nadrix_icon.svg -o resources/icons/nadrix-$size.png
  echo "resources/icons/nadrix-$size.png: $size x $size"
done

# Each image at its size, and at twice its size (NAME_2x.png) for screens
# and hosts that scale the window by 2: drawn from the same source, with the
# same colour type.
echo "$images" | while read -r name width height mode; do
  [ -n "$name" ] || continue
  for scale in 1 2; do
  suffix=""; [ $scale -eq 2 ] && suffix="_2x"
  w=$((width * scale)); h=$((height * scale))
  rsvg-convert -w "$w" -h "$h" "resources/svg/$name.svg" -o "resources/$name$suffix.png.tmp"
  /usr/bin/python3 - "resources/$name$suffix.png.tmp" "resources/$name$suffix.png" "$w" "$h" "$mode" <<'PY'
import os, sys
from PIL import Image
source, target, width, height, mode = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
image = Image.open(source).convert(mode)
if image.size != (width, height):
    sys.exit(f"{target}: {image.size[0]} x {image.size[1]}, expected {width} x {height}")
image.save(target, optimize=True)
os.remove(source)
check = Image.open(target)
if check.size != (width, height) or check.mode != mode:
    sys.exit(f"{target}: wrote {check.size} {check.mode}, expected {width} x {height} {mode}")
print(f"{target}: {width} x {height} {mode}, {os.path.getsize(target)} bytes")
PY
  done
done
