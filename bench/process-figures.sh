#!/usr/bin/env bash
# Whole-process figures of the metronome window beside the programs a user
# would pick instead, all in one run on a virtual display of its own:
#   exec to window mapped (ms, median of --runs starts, told by the X server:
#     build/bench/bench_map_time), with the default device and with
#     "JACK: system" stored, both on a private JACK server;
#   CPU % of one core and wake-ups per second (voluntary + involuntary
#     context switches of every thread, from /proc) over SECONDS of playing
#     at 120 bpm with the window visible, the same stopped, and playing
#     with the window unmapped (hidden);
#   with --strace the system calls in 10 s of playing.
# The metronome plays into its capture device (MORVANE_AUDIO_CAPTURE) in a
# fresh home; its start-up figures are taken on a real back end, after one
# start that installs its data.
#
#   bench/process-figures.sh [--seconds N] [--runs N] [--strace] [--peers] [--floor] [BINARY...]
#
# --peers adds klick (8ths at 120 bpm on the private jackd's dummy driver)
# and GTick (120 bpm through a private PipeWire with its PulseAudio server
# and a null sink), and each binary again playing through that PipeWire
# (its default device) instead of the capture device, with the daemon's
# own CPU and wake-ups beside it. --floor adds a Qt window that does
# nothing but tick once a display frame, idle and repainting a square
# (build/bench/bench_frame_floor): what any window animating at the
# display's rate costs here. Several binaries (an older build beside this
# one) are measured in the same run, their starts interleaved.
# Needs Xvfb, xdotool, jackd, bench_map_time (built with libxcb), strace for
# --strace; --peers also klick, gtick, pipewire, wireplumber and
# pipewire-pulse (apt-get install pipewire-pulse; not needed by the tests).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
seconds=30
runs=5
trace=0
peers=0
floor=0
binaries=()
while (($#)); do
  case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --strace) trace=1; shift ;;
    --peers) peers=1; shift ;;
    --floor) floor=1; shift ;;
    *) binaries+=("$(realpath "$1")"); shift ;;
  esac
done
((${#binaries[@]})) || binaries=("$ROOT/build/app/morvane")
MAPTIME=${MAPTIME:-$ROOT/build/bench/bench_map_time}
FLOOR=${FLOOR:-$ROOT/build/bench/bench_frame_floor}
needed=(Xvfb xdotool jackd "$MAPTIME")
((trace)) && needed+=(strace)
((peers)) && needed+=(klick gtick pipewire wireplumber pipewire-pulse dbus-daemon)
((floor)) && needed+=("$FLOOR")
for tool in "${needed[@]}"; do
  command -v "$tool" >/dev/null || { echo "process-figures: $tool is not installed" >&2; exit 2; }
done

work=$(mktemp -d /tmp/morvane-figures-XXXXXX)
chmod 700 "$work"
pids=()  # servers, stopped last to first
app_pid=
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  sleep 0.3
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
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
pids+=($!)
export DISPLAY=":$n"
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
kill -0 "${pids[0]}" 2>/dev/null || { echo "process-figures: Xvfb :$n did not start (see below)" >&2; cat "$work/xvfb.log" >&2; exit 2; }

# Sound servers of this run only, below its own runtime folder.
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
export JACK_DEFAULT_SERVER=morvane-figures-$$ JACK_NO_START_SERVER=1
jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 44100 -p 512 >"$work/jackd.log" 2>&1 &
pids+=($!)
if ((peers)); then
  # A session bus of its own: the session manager wants one.
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus
  dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" >"$work/dbus.log" 2>&1 &
  pids+=($!)
  sleep 0.3
  sed 's|^context.objects = \[|&\n  { factory = adapter args = { factory.name = support.null-audio-sink node.name = figures-sink media.class = Audio/Sink audio.position = [ FL FR ] audio.rate = 48000 } }|' \
    /usr/share/pipewire/pipewire.conf >"$work/pipewire.conf"
  pipewire -c "$work/pipewire.conf" >"$work/pipewire.log" 2>&1 &
  pids+=($!)
  pipewire_pid=$!
  sleep 0.5
  wireplumber >"$work/wireplumber.log" 2>&1 &
  pids+=($!)
  pipewire-pulse >"$work/pipewire-pulse.log" 2>&1 &
  pids+=($!)
fi
sleep 1

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
    'BEGIN {d = t1 - t0; if (w < 0) w = 0; printf "%.2f %% %.0f/s", 100 * c / hz / d, w / d}'
}

syscalls() {
  ((trace)) || { echo -; return; }
  timeout -s INT 10 strace -c -f -p "$1" -o "$work/strace.txt" >/dev/null 2>&1 || true
  awk '/^100.00|total/ {print $4; exit}' "$work/strace.txt"
}

# Ends the program under measure (GTick may need a KILL).
end_app() {
  kill "$app_pid" 2>/dev/null || true
  for _ in $(seq 20); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$app_pid" 2>/dev/null || true
  app_pid=
}

median() { sort -n | awk '{v[NR] = $1} END {print NR ? v[int((NR + 1) / 2)] : "-"}'; }

# A fresh home for a binary (label $1), its data installed by one start.
home_for() {
  local home=$work/home-$1
  if [[ ! -d $home ]]; then
    mkdir -p "$home/config/Morvane" "$home/data"
    printf '[Settings]\nTempo=120\n' >"$home/config/Morvane/Morvane.conf"
  fi
  echo "$home"
}
run_in() {
  local home=$1
  shift
  HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data MORVANE_DATA_DIR=$ROOT/data "$@"
}
set_device() { # home, device name or empty
  local conf=$1/config/Morvane/Morvane.conf
  sed -i '/^SoundOutDevice=/d' "$conf"
  [[ -n $2 ]] && sed -i "s|^\[Settings\]|&\nSoundOutDevice=$2|" "$conf"
  return 0
}
map_once() { # label, device, binary: ms from exec to the window mapped
  local home
  home=$(home_for "$1")
  set_device "$home" "$2"
  run_in "$home" "$MAPTIME" --log "$work/map.log" "$3" | awk '{print $1}'
}

# GTick's settings: 120 bpm, one beat a bar, sound through PulseAudio.
mkdir -p "$work/home-gtick"
printf 'SampleFilename = <default>\nSoundDevice = <pulseaudio>\nSpeed = 120\nVolume = 100\nMeter = 1\nAccents = 1\nVisualTick = 0\n' \
  >"$work/home-gtick/.gtickrc"

declare -A maps
for i in "${!binaries[@]}"; do map_once "b$i" "" "${binaries[i]}" >/dev/null; done  # installs the data
for ((r = 0; r < runs; r++)); do
  for i in "${!binaries[@]}"; do
    maps[b$i.default]+="$(map_once "b$i" "" "${binaries[i]}") "
    maps[b$i.jack]+="$(map_once "b$i" "JACK: system" "${binaries[i]}") "
  done
  if ((peers)); then
    maps[gtick]+="$(HOME=$work/home-gtick "$MAPTIME" gtick | awk '{print $1}') "
  fi
done
map_median() { tr ' ' '\n' <<<"${maps[$1]}" | grep . | median; }

row() { printf '%-44s %9s %9s %16s %16s %16s %10s\n' "$@"; }
row program map-ms map-jack "playing cpu/wake" "stopped cpu/wake" "hidden cpu/wake" syscalls/10s

# Figures of the window app_pid: stopped, then playing after Space.
stopped_then_playing() {
  local wid
  wid=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -1)
  sleep 2
  stopped=$(sample "$app_pid" "$seconds")
  xdotool key --window "$wid" space 2>/dev/null
  sleep 1
  # The sound server's own share, over the same seconds.
  local server_sampler=
  if [[ -n $server_pid ]]; then
    sample "$server_pid" "$seconds" >"$work/server.txt" &
    server_sampler=$!
  fi
  playing=$(sample "$app_pid" "$seconds")
  server=-
  if [[ -n $server_sampler ]]; then
    wait "$server_sampler"
    server=$(cat "$work/server.txt")
  fi
  calls=$(syscalls "$app_pid")
  xdotool windowunmap --sync "$wid" 2>/dev/null
  sleep 1
  hidden=$(sample "$app_pid" "$seconds")
}

# A window started with its data installed, stopped then playing.
server_pid=
for i in "${!binaries[@]}"; do
  home=$(home_for "b$i")
  set_device "$home" ""
  read -r _ app_pid < <(run_in "$home" env MORVANE_AUDIO_CAPTURE="$work/capture.wav" \
    "$MAPTIME" --keep --log "$work/app.log" "${binaries[i]}")
  stopped_then_playing
  row "${binaries[i]}" "$(map_median "b$i.default")" "$(map_median "b$i.jack")" "$playing" "$stopped" "$hidden" "$calls"
  end_app
done

if ((floor)); then
  for mode in idle paint; do
    "$FLOOR" "$mode" >"$work/floor.log" 2>&1 &
    app_pid=$!
    sleep 2
    row "Qt window ticking once a frame ($mode)" - - "$(sample "$app_pid" "$seconds")" - - -
    end_app
  done
fi

if ((peers)); then
  # klick: 8ths (8/8, tempo in quarters) at 120 bpm into the dummy driver.
  klick -n klick-figures -P 8/8 120 >"$work/klick.log" 2>&1 &
  app_pid=$!
  sleep 2
  playing=$(sample "$app_pid" "$seconds")
  calls=$(syscalls "$app_pid")
  row "klick 8/8 120 (JACK dummy)" - - "$playing" - - "$calls"
  end_app

  # Each binary through the PipeWire daemon (its default device).
  server_pid=$pipewire_pid
  for i in "${!binaries[@]}"; do
    home=$(home_for "b$i")
    set_device "$home" ""
    read -r _ app_pid < <(run_in "$home" "$MAPTIME" --keep --log "$work/app.log" "${binaries[i]}")
    stopped_then_playing
    row "${binaries[i]} (PipeWire)" - - "$playing" "$stopped" "$hidden" "$calls"
    row "  pipewire daemon meanwhile" - - "$server" - - -
    end_app
  done

  # GTick at 120 bpm through the PulseAudio server; Space presses Start.
  read -r _ app_pid < <(HOME=$work/home-gtick "$MAPTIME" --keep --log "$work/gtick.log" gtick)
  stopped_then_playing
  row "gtick 120 (PulseAudio)" "$(map_median gtick)" - "$playing" "$stopped" "$hidden" "$calls"
  row "  pipewire daemon meanwhile" - - "$server" - - -
  end_app
fi
