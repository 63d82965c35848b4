#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The built bundle as Debian's LV2 tools see it. lv2_validate (with sordi's
# sord_validate) checks every description against LV2's own vocabularies:
# no error. lv2info must list the plug-in with no error or
# warning from lilv on the way, classed as a reverb, with a mailto: address,
# the six factory programs, and every parameter as a control port with its
# unit. /usr/lib/lv2 holds LV2's own vocabulary
# bundles, which name the classes.
set -u
bundle=$1 uri=$2
validation=$(lv2_validate "$bundle"/*.ttl 2>&1)
if ! grep -q "Found 0 errors" <<< "$validation"; then
  echo "lv2_validate found errors in the bundle's descriptions:"; grep -v '^Skipping' <<< "$validation" | tail -n 40; exit 1
fi

out=$(LV2_PATH="$(dirname "$bundle"):/usr/lib/lv2" lv2info "$uri" 2>&1)
status=$?
echo "$out" | head -n 12
if [ $status -ne 0 ] || ! grep -q "Name: *Nadrix" <<< "$out"; then
  echo "lv2info did not list $uri (exit $status)"; exit 1
fi
if grep -qiE 'error|warning' <<< "$out"; then
  echo "lv2info complained:"; echo "$out" | grep -iE 'error|warning'; exit 1
fi
for expected in "Class: *Reverb Plugin" "Author Email: *mailto:"; do
  if ! grep -q "$expected" <<< "$out"; then
    echo "lv2info does not show '$expected'"; exit 1
  fi
done
presets=$(echo "$out" | sed -n '/Presets:/,/^$/p' | grep -cE 'Bright Ambience|Nice Hall|Robotizer|Sheep Spring Reverb|Small Drum Booth|Small Complex Room')
if [ "$presets" -ne 6 ]; then
  echo "expected the six factory programs as presets, found $presets"; exit 1
fi
ports=$(echo "$out" | grep -c "Symbol:")
if [ "$ports" -ne 366 ] || ! grep -q "Symbol: *Predelay_gain_Dly_49" <<< "$out"; then
  echo "expected 9 ports and one control port for each of the 357 parameters, found $ports ports"; exit 1
fi
if ! grep -A8 'lv2:symbol "Delay_time_Dly_0"' "$bundle/dsp.ttl" | grep -q "units:unit units:ms"; then
  echo "the delay time's port does not give its unit (ms)"; exit 1
fi
