#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the Standalone app under a private X server (with Mesa for its
# OpenGL window), waits for its window to appear, and checks that it is
# still running a few seconds later.
set -u
app=$1

if ! command -v xvfb-run >/dev/null || ! command -v xwininfo >/dev/null; then
  echo "xvfb-run and xwininfo are needed (packages xvfb, x11-utils)"; exit 1
fi

export NADRIX_APP="$app"
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  log=$(mktemp)
  "$NADRIX_APP" >"$log" 2>&1 &
  pid=$!
  window=""
  for _ in $(seq 1 150); do
    window=$(xwininfo -root -tree 2>/dev/null | grep -E "\"Nadrix( - [^\"]*)?\"" | head -n 1) # titled with its program
    [ -n "$window" ] && break
    if ! kill -0 $pid 2>/dev/null; then echo "the app exited before opening its window:"; cat "$log"; exit 1; fi
    sleep 0.2
  done
  if [ -z "$window" ]; then echo "no window titled Nadrix appeared"; kill $pid; cat "$log"; exit 1; fi
  echo "window: $window"
  sleep 4
  if ! kill -0 $pid 2>/dev/null; then echo "the app died after opening its window:"; cat "$log"; exit 1; fi
  echo "still running after 4 s"
  kill $pid
  wait $pid 2>/dev/null
  exit 0
'
