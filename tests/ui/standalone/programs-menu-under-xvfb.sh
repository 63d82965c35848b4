#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Chooses "Robotizer" from the Standalone app's Programs menu under a private
# X server, as a user would (a click on the title bar's Programs button, the
# arrow keys, Return), checks that the window's title names it, closes the
# app with its title-bar close button, and checks the state it saved on
# closing against that program's state as nadrix-render saves it.
set -u
app=$1 render=$2

for tool in xvfb-run xdotool python3; do
  command -v $tool >/dev/null || { echo "$tool is needed (packages xvfb, xdotool, python3)"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$render" --demo -o "$work/demo.wav" --program Robotizer --tail 0 --save-state "$work/expected.state" >/dev/null || exit 1

export NADRIX_APP="$app" HOME="$work/home"
mkdir -p "$HOME"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  # Waits for a condition by polling it, up to about 30 s: each step is
  # taken when the app is ready for it, however slow the machine is.
  until_true() { for _ in $(seq 1 150); do eval "$1" && return 0; sleep 0.2; done; return 1; }
  menu_shown() { [ -n "$(xdotool search --onlyvisible --name "^menu\$" 2>/dev/null)" ]; } # JUCE names its menu windows so

  "$NADRIX_APP" >"$HOME/log" 2>&1 &
  pid=$!
  until_true "window=\$(xdotool search --name \"^Nadrix - Small Complex Room\$\" 2>/dev/null | head -n 1); [ -n \"\$window\" ]" \
    || { echo "no window titled Nadrix - Small Complex Room (the start program) appeared"; cat "$HOME/log"; kill $pid; exit 1; }
  # Where the window is now: a window manager-less server may still move
  # or resize it after it first appears, so each click asks again.
  place() { eval "$(xdotool getwindowgeometry --shell "$window")"; }

  # Programs, beside Options: clicked again until its menu window appears
  # (a click can be lost while the window is still settling). Never clicked
  # while the menu shows, which would close it again, and given 10 s each
  # time, for a loaded machine.
  open_menu() {
    for _ in $(seq 1 6); do
      menu_shown || { place; xdotool mousemove $((X + 110)) $((Y + 14)) click 1; }
      for _ in $(seq 1 50); do menu_shown && return 0; sleep 0.2; done
    done
    return 1
  }
  # The third program, Robotizer, from the keys. On a loaded machine keys
  # sent before the menu holds the keyboard are lost and the menu stays
  # open: then it is closed with Escape and the whole choice made again
  # (a menu opens with nothing highlighted, so the same keys choose the
  # same program).
  chosen=no
  for attempt in 1 2 3; do
    open_menu || { echo "the Programs menu did not open"; cat "$HOME/log"; kill $pid; exit 1; }
    sleep 0.5
    xdotool key Down Down Down Return
    if until_true "! menu_shown" && until_true "[ \"\$(xdotool getwindowname $window)\" = \"Nadrix - Robotizer\" ]"; then
      chosen=yes; break
    fi
    echo "attempt $attempt: the menu did not choose Robotizer (title: $(xdotool getwindowname $window)); again"
    menu_shown && xdotool key Escape
    until_true "! menu_shown" || { echo "the Programs menu did not close"; kill $pid; exit 1; }
  done
  [ $chosen = yes ] || { echo "the title does not name Robotizer: $(xdotool getwindowname $window)"; kill $pid; exit 1; }

  # Close, which makes the app save its state: clicked again until it exits.
  for _ in $(seq 1 6); do
    place
    xdotool mousemove $((X + WIDTH - 15)) $((Y + 14)) click 1
    for _ in $(seq 1 50); do kill -0 $pid 2>/dev/null || exit 0; sleep 0.2; done
  done
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
