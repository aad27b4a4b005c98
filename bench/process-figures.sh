#!/usr/bin/env bash
# Whole-process figures of the metronome window, playing at 120 bpm into the
# capture device on a virtual display of its own:
#   exec to window mapped (ms), CPU % of one core and wake-ups per second
#   (voluntary + involuntary context switches of every thread, from /proc)
#   over SECONDS of playing, the same stopped, and with --strace the system
#   calls in 10 s of playing.
#
#   bench/process-figures.sh [--seconds N] [--strace] [--label NAME] BINARY...
#
# Several binaries (for example an older build beside this one) are measured
# one after the other in the same run, each in a fresh home. Needs Xvfb and
# xdotool (and strace for --strace).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
seconds=30
trace=0
binaries=()
while (($#)); do
  case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --strace) trace=1; shift ;;
    *) binaries+=("$1"); shift ;;
  esac
done
((${#binaries[@]})) || binaries=("$ROOT/build/app/morvane")
for tool in Xvfb xdotool; do
  command -v $tool >/dev/null || { echo "process-figures: $tool is not installed" >&2; exit 2; }
done

work=$(mktemp -d /tmp/morvane-figures-XXXXXX)
xvfb_pid=
app_pid=
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A display number nobody uses. -noreset: an X server resets when its last
# client leaves (here the xdotool that waits for it, and each measured
# program), and a program connecting meanwhile is refused or cut off
# (exit 1, or SIGPIPE before its first line): the runs that "aborted before
# measuring".
for n in $(seq 90 140); do [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || break; done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
kill -0 "$xvfb_pid" 2>/dev/null || { echo "process-figures: Xvfb :$n did not start (see below)" >&2; cat "$work/xvfb.log" >&2; exit 2; }

# user+system clock ticks of a process, and context switches of its threads
# (a thread that ends meanwhile takes its count along: never below 0).
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {s += $2} END {print s}'; }
hz=$(getconf CLK_TCK)

# CPU % and wake-ups/s of pid over the given seconds.
sample() {
  local pid=$1 secs=$2 t0 t1 c0 c1 w0 w1
  t0=$(date +%s.%N); c0=$(ticks "$pid"); w0=$(switches "$pid")
  sleep "$secs"
  t1=$(date +%s.%N); c1=$(ticks "$pid"); w1=$(switches "$pid")
  awk -v c=$((c1 - c0)) -v w=$((w1 - w0)) -v t0="$t0" -v t1="$t1" -v hz="$hz" \
    'BEGIN {d = t1 - t0; if (w < 0) w = 0; printf "%.2f %% CPU, %.0f wake-ups/s", 100 * c / hz / d, w / d}'
}

printf '%-40s %12s %30s %30s %s\n' binary exec-to-map playing stopped syscalls/10s
for bin in "${binaries[@]}"; do
  home="$work/home"
  rm -rf "$home"
  mkdir -p "$home/config/Morvane" "$home/data"
  printf '[Settings]\nTempo=120\n' >"$home/config/Morvane/Morvane.conf"
  start=$(date +%s%N)
  HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data MORVANE_DATA_DIR=$ROOT/data \
    MORVANE_AUDIO_CAPTURE=$work/capture.wav "$bin" >"$work/app.log" 2>&1 &
  app_pid=$!
  wid=
  for _ in $(seq 2000); do
    wid=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -1) && [[ -n $wid ]] && break
    sleep 0.005
  done
  mapped=$((($(date +%s%N) - start) / 1000000))
  sleep 2
  stopped=$(sample "$app_pid" "$seconds")
  xdotool key --window "$wid" space
  sleep 1
  playing=$(sample "$app_pid" "$seconds")
  calls=-
  if ((trace)) && command -v strace >/dev/null; then
    timeout -s INT 10 strace -c -f -p "$app_pid" -o "$work/strace.txt" >/dev/null 2>&1 || true
    calls=$(awk '/^100.00|total/ {print $4; exit}' "$work/strace.txt")
  fi
  printf '%-40s %9s ms %30s %30s %s\n' "$bin" "$mapped" "$playing" "$stopped" "$calls"
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=
done
