#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# nadrix-render against sox's reverb on the same 60 s stereo file, both timed
# in this run: CPU time (user + system) and wall time, the best of three,
# with one and with two threads; then a batch of 20 files of 15 s.
# Usage: scripts/bench-render.sh [BUILD_DIR]   (after `make build`)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
render="$build/tools/nadrix-render/nadrix-render"
[ -x "$render" ] || { echo "bench-render: build first (make build)" >&2; exit 1; }

need=()
command -v sox >/dev/null || need+=(sox)
[ -x /usr/bin/time ] || need+=(time)
command -v bc >/dev/null || need+=(bc)
if [ ${#need[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

work="$build/bench-render"
mkdir -p "$work"
input="$work/pink-60s.wav"
[ -f "$input" ] || sox -n -r 44100 -c 2 -b 32 -e floating-point "$input" synth 60 pinknoise vol 0.3
for i in $(seq -w 1 20); do
  [ -f "$work/batch/in/stem-$i.wav" ] || { mkdir -p "$work/batch/in"; sox -n -r 44100 -c 2 -b 24 "$work/batch/in/stem-$i.wav" synth 15 pinknoise vol 0.3; }
done

# Prints "cpu wall" (seconds), the best of three runs of the command.
best_of_three() {
  local best_cpu="" best_wall=""
  for _ in 1 2 3; do
    /usr/bin/time -o "$work/time.txt" -f "%U %S %e" "$@" >/dev/null 2>&1
    read -r user sys wall < "$work/time.txt"
    local cpu
    cpu=$(echo "$user + $sys" | bc -l)
    if [ -z "$best_wall" ] || (( $(echo "$wall < $best_wall" | bc -l) )); then best_wall=$wall; fi
    if [ -z "$best_cpu" ] || (( $(echo "$cpu < $best_cpu" | bc -l) )); then best_cpu=$cpu; fi
  done
  echo "$best_cpu $best_wall"
}

row() { # name cpu wall sox_cpu sox_wall
  printf "%-34s %7.2f s %7.2f s %8.2fx %8.2fx\n" "$1" "$2" "$3" "$(echo "$2 / $4" | bc -l)" "$(echo "$3 / $5" | bc -l)"
}

read -r sox_cpu sox_wall < <(best_of_three sox "$input" "$work/sox.wav" reverb)
read -r one_cpu one_wall < <(best_of_three "$render" "$input" -o "$work/nadrix-1.wav" --threads 1)
read -r two_cpu two_wall < <(best_of_three "$render" "$input" -o "$work/nadrix-2.wav" --threads 2)
cmp -s "$work/nadrix-1.wav" "$work/nadrix-2.wav" || { echo "bench-render: one and two threads differ" >&2; exit 1; }

sox_batch() { for f in "$work"/batch/in/*.wav; do sox "$f" "$work/batch/sox-$(basename "$f")" reverb; done; }
read -r soxb_cpu soxb_wall < <(best_of_three bash -c "$(declare -f sox_batch); work='$work'; sox_batch")
read -r batch1_cpu batch1_wall < <(best_of_three "$render" "$work"/batch/in/*.wav -o "$work/batch/out-1/" --threads 1)
read -r batch2_cpu batch2_wall < <(best_of_three "$render" "$work"/batch/in/*.wav -o "$work/batch/out-2/" --threads 2)

echo "60 s of 44.1 kHz stereo ($(nproc) cores); CPU = user + system; the best of three runs"
printf "%-34s %9s %9s %9s %9s\n" "" "CPU" "wall" "CPU/sox" "wall/sox"
row "sox reverb" "$sox_cpu" "$sox_wall" "$sox_cpu" "$sox_wall"
row "nadrix-render --threads 1" "$one_cpu" "$one_wall" "$sox_cpu" "$sox_wall"
row "nadrix-render --threads 2" "$two_cpu" "$two_wall" "$sox_cpu" "$sox_wall"
echo
echo "a batch of 20 files of 15 s"
row "sox reverb, one file after another" "$soxb_cpu" "$soxb_wall" "$soxb_cpu" "$soxb_wall"
row "nadrix-render IN... -o DIR/ (1)" "$batch1_cpu" "$batch1_wall" "$soxb_cpu" "$soxb_wall"
row "nadrix-render IN... -o DIR/ (2)" "$batch2_cpu" "$batch2_wall" "$soxb_cpu" "$soxb_wall"
