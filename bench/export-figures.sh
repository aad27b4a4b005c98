#!/usr/bin/env bash
# Whole-process time of a click-track export beside klick's file export, on
# the same track: 10 minutes at 120 bpm in eighths, 44.1 kHz, 16 bit, plain
# and with an accented downbeat every four beats (the limiter then works).
#
#   bench/export-figures.sh [--runs N] [BINARY...]
#
# BINARY is a morvane-render (default build/tools/morvane-render); give an
# older build's beside this one to compare them in the same run. Every
# binary's files must be byte for byte the same: the script says when not.
# Needs hyperfine; klick is timed when installed (its -W needs no JACK).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
runs=15
binaries=()
while (($#)); do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    *) binaries+=("$1"); shift ;;
  esac
done
((${#binaries[@]})) || binaries=("$ROOT/build/tools/morvane-render")
command -v hyperfine >/dev/null || { echo "export-figures: hyperfine is not installed" >&2; exit 2; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
commands=()
command -v klick >/dev/null && commands+=("klick -W $out/klick.wav -r 44100 300 8/8 120")
tracks=("--tempo 120 --subdiv 2 --seconds 600" "--tempo 120 --measure 4 --subdiv 2 --seconds 600")
for t in 0 1; do
  for i in "${!binaries[@]}"; do commands+=("${binaries[$i]} ${tracks[$t]} -o $out/track$t-$i.wav"); done
done
hyperfine -N --warmup 2 --runs "$runs" "${commands[@]}"
for t in 0 1; do
  for i in "${!binaries[@]}"; do
    cmp -s "$out/track$t-0.wav" "$out/track$t-$i.wav" || echo "export-figures: ${binaries[$i]} wrote another file for: ${tracks[$t]}"
  done
done
