#!/usr/bin/env bash
# morvane-render --play into the capture device writes exactly the track
# that the offline render writes (same options, 32-bit samples), the mono
# track on both of the device's channels.
set -euo pipefail
render=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
args=(--tempo 150 --measure "7(3+4)" --subdiv 3 --seconds 1)
MORVANE_AUDIO_CAPTURE=$dir/played.wav "$render" --play --volume 0 "${args[@]}" >"$dir/log"
grep -q '^play$' "$dir/log" && grep -q '^level ' "$dir/log" && grep -q '^stop$' "$dir/log"
[[ $(tail -n 1 "$dir/log") == "under-runs 0" ]]
"$render" "${args[@]}" --format s32 -o "$dir/rendered.wav" >/dev/null
sox "$dir/rendered.wav" -t raw "$dir/rendered.raw"
for channel in 1 2; do
  sox "$dir/played.wav" -t raw "$dir/played$channel.raw" remix "$channel"
  cmp "$dir/played$channel.raw" "$dir/rendered.raw"
done
