#!/usr/bin/env bash
# How much of one core the emulator takes when it runs at real speed (paced at 60 frames a
# second, not --unpaced): the batch runner, and the desktop program under a virtual X server
# (xvfb-run, Mesa's software OpenGL) with SDL's dummy and disk audio drivers. Each case runs
# REPEATS times; the CPU time of the emulator's own process (utime + stime from
# /proc/PID/stat) is measured over SECONDS after a warm-up, and the median is printed.
# The X server's own share is printed beside the desktop cases: it draws what we send it.
#
#   bench/paced_cpu.sh [-b BUILD_DIR]... [-s SECONDS] [-r REPEATS] [-c CASE]...
#
# With -b given more than once (say, a copy of an older build and the current one), each
# repeat runs every build in turn, so that the builds share the machine's load alike.
#
# CASE is one of headless-cbios, headless-cart, desktop-cbios, desktop-cart,
# desktop-cart-disk, desktop-cart-nosound (default: all). The cartridge is msxgl_s_sm1.rom
# from ../shared/acceptance/roms beside the checkout (or $TAVIR_CART).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
builds=()
seconds=20
repeats=3
cases=()
while getopts "b:s:r:c:" option; do
  case $option in
    b) builds+=("$(cd "$OPTARG" && pwd)") ;;
    s) seconds=$OPTARG ;;
    r) repeats=$OPTARG ;;
    c) cases+=("$OPTARG") ;;
    *) sed -n '2,17p' "$0"; exit 2 ;;
  esac
done
[ ${#builds[@]} -gt 0 ] || builds=("$here/build/release")
[ ${#cases[@]} -gt 0 ] || cases=(headless-cbios headless-cart desktop-cbios desktop-cart
                                 desktop-cart-disk desktop-cart-nosound)
cart=${TAVIR_CART:-"$here/../shared/acceptance/roms/msxgl_s_sm1.rom"}
warmup=4
ticks=$(getconf CLK_TCK)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# utime + stime of a process, in clock ticks (fields 14 and 15; the name may hold spaces).
cpu_ticks() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || { echo -1; return; }
  stat=${stat##*) }
  set -- $stat
  echo $(( ${12} + ${13} ))
}

now_ms() { date +%s%3N; }

# percent TICKS MILLISECONDS
percent() { awk -v t="$1" -v ms="$2" -v hz="$ticks" 'BEGIN { printf "%.1f", t / hz * 100000 / ms }'; }

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{ v[NR] = $1 } END {
  if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2];
  else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A fresh working directory: C-BIOS and the shipped settings, with or without the cartridge.
workdir() {  # workdir NAME WITH_CART [NO_SOUND]
  local dir="$scratch/$1"
  rm -rf "$dir"
  "$here/scripts/prepare-workdir" "$dir" >/dev/null
  if [ "$2" = 1 ]; then printf '0%s\n' "$cart" > "$dir/cart.drc"; fi
  if [ "${3:-0}" = 1 ]; then
    sed -i 's/^\.UsePSG = .*/.UsePSG = 00/' "$dir/msx.cfg"
    sed -i 's/^\.DeviceNumber = .*/.DeviceNumber = ff/' "$dir/opll.cfg"
  fi
  echo "$dir"
}

log_lines() { wc -l < "$1/TAVIRlog.txt"; }

# Frames left undrawn in the log's once-a-second pacing lines after line FROM up to TO. A
# loaded machine makes the program skip drawing frames, which lowers its CPU share: the
# figure says how far a measurement is from a full 60 pictures a second.
skipped() {  # skipped DIR FROM TO
  awk -v from="$2" -v to="$3" 'NR > from && NR <= to && /^[0-9]+ \/ 60$/ { n++; s += $1 }
    END { printf "%d/%d", s, n * 60 }' "$1/TAVIRlog.txt"
}

# Waits for the warm-up, then measures PID (and OTHER, when given) over the window.
# Prints "own% other% skipped/frames" (DIR holds the log).
measure() {  # measure DIR PID [OTHER]
  local dir=$1 pid=$2 other=${3:-} a b oa=0 ob=0 t0 t1 l0 l1
  sleep "$warmup"
  a=$(cpu_ticks "$pid"); [ -n "$other" ] && oa=$(cpu_ticks "$other")
  t0=$(now_ms) l0=$(log_lines "$dir")
  sleep "$seconds"
  b=$(cpu_ticks "$pid"); [ -n "$other" ] && ob=$(cpu_ticks "$other")
  t1=$(now_ms) l1=$(log_lines "$dir")
  if [ "$a" -lt 0 ] || [ "$b" -lt 0 ]; then echo "ended-early - -"; return; fi
  echo "$(percent $((b - a)) $((t1 - t0))) $(percent $((ob - oa)) $((t1 - t0)))" \
       "$(skipped "$dir" "$l0" "$l1")"
}

frames=$(( (warmup + seconds + 2) * 60 ))

run_headless() {  # run_headless DIR
  "$build/src/tavir-headless" --dir "$1" --frames "$frames" >/dev/null 2>&1 &
  local pid=$!
  measure "$1" "$pid"
  wait "$pid" || true
}

run_desktop() {  # run_desktop DIR ENV...
  local dir=$1; shift
  (cd "$dir" && env "$@" TAVIR_AUTORUN_FRAMES="$frames" xvfb-run -a \
     sh -c 'echo $$ > tavir.pid; exec "$0"' "$build/src/tavir" >output.txt 2>&1 </dev/null) &
  local runner=$! pid="" xvfb=""
  for _ in $(seq 100); do
    pid=$(cat "$dir/tavir.pid" 2>/dev/null || true)
    [ -n "$pid" ] && break
    sleep 0.1
  done
  # xvfb-run's server is the Xvfb process that has the same parent as the program.
  local parent
  parent=$(awk '{ print $4 }' "/proc/$pid/stat" 2>/dev/null || true)
  [ -n "$parent" ] && xvfb=$(pgrep -P "$parent" -x Xvfb | head -n 1 || true)
  measure "$dir" "$pid" "$xvfb"
  wait "$runner" || true
}

run_case() {  # run_case NAME -> "own other"; leaves the working directory in $dir
  local name=$1
  case $name in
    headless-cbios) dir=$(workdir "$name" 0); result=$(run_headless "$dir") ;;
    headless-cart) dir=$(workdir "$name" 1); result=$(run_headless "$dir") ;;
    desktop-cbios) dir=$(workdir "$name" 0); result=$(run_desktop "$dir" SDL_AUDIODRIVER=dummy) ;;
    desktop-cart) dir=$(workdir "$name" 1); result=$(run_desktop "$dir" SDL_AUDIODRIVER=dummy) ;;
    desktop-cart-disk)
      dir=$(workdir "$name" 1)
      result=$(run_desktop "$dir" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null) ;;
    desktop-cart-nosound)
      dir=$(workdir "$name" 1 1); result=$(run_desktop "$dir" SDL_AUDIODRIVER=dummy) ;;
    *) echo "unknown case $name" >&2; exit 2 ;;
  esac
}

printf '%-22s %-20s %6s %6s   %s\n' case build "cpu%" "Xvfb%" \
  "each run: own%/Xvfb%/frames skipped/frames in the window"
for name in "${cases[@]}"; do
  declare -A own=() others=() notes=()
  for _ in $(seq "$repeats"); do
    for b in "${!builds[@]}"; do
      build=${builds[$b]}
      run_case "$name"
      read -r mine theirs skips <<< "$result"
      own[$b]="${own[$b]:-} $mine" others[$b]="${others[$b]:-} $theirs"
      notes[$b]="${notes[$b]:-} $mine/$theirs/$skips"
    done
  done
  for b in "${!builds[@]}"; do
    printf '%-22s %-20s %6s %6s  %s\n' "$name" "$(echo "${builds[$b]}" | rev | cut -c1-20 | rev)" \
      "$(echo "${own[$b]}" | median)" "$(echo "${others[$b]}" | median)" "${notes[$b]}"
  done
  unset own others notes
done
