#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Chooses "Robotizer" from the Standalone app's Programs menu under a private
# X server, as a user would (a click on the title bar's Programs button, the
# arrow keys, Return), closes the app with its title-bar close button, and
# checks the state it saved on closing against that program's state as
# nadrix-render saves it.
set -u
app=$1 render=$2

for tool in xvfb-run xdotool python3; do
  command -v $tool >/dev/null || { echo "$tool is needed (packages xvfb, xdotool, python3)"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$render" -o "$work/demo.wav" --program Robotizer --tail 0 --save-state "$work/expected.state" >/dev/null || exit 1

export NADRIX_APP="$app" HOME="$work/home"
mkdir -p "$HOME"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$NADRIX_APP" >"$HOME/log" 2>&1 &
  pid=$!
  for _ in $(seq 1 150); do
    window=$(xdotool search --name "^Nadrix$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "no window titled Nadrix appeared"; cat "$HOME/log"; kill $pid; exit 1; }
  sleep 2
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 110)) $((Y + 14)) click 1   # Programs, beside Options
  sleep 1
  xdotool key Down Down Down Return                    # the third program: Robotizer
  sleep 1
  xdotool mousemove $((X + WIDTH - 15)) $((Y + 14)) click 1   # close: the app saves its state
  for _ in $(seq 1 50); do kill -0 $pid 2>/dev/null || exit 0; sleep 0.2; done
  echo "the app did not close"; kill $pid; exit 1
' || exit 1

# The app keeps its state in a JUCE properties file, in JUCE's own base64.
python3 - "$HOME/.config/Nadrix.settings" "$work/expected.state" <<'PY'
import re, sys
settings, expected = open(sys.argv[1]).read(), open(sys.argv[2], "rb").read()
found = re.search(r'name="filterState" val="(\d+)\.([^"]*)"', settings)
if not found:
    sys.exit("the app saved no state")
size, chars = int(found.group(1)), found.group(2)
table = ".ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+"
bits = 0
for k, c in enumerate(chars):
    bits |= table.index(c) << (6 * k)
state = (bits & ((1 << (8 * size)) - 1)).to_bytes(size, "little")
if state != expected:
    sys.exit("the state after choosing Robotizer from the Programs menu is not Robotizer's")
print("Programs menu: Robotizer chosen, its 1428-byte state saved")
PY
