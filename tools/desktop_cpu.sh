#!/usr/bin/env bash
# The real card on a 1024 x 768 Xvfb in two set-ups, one after the other:
#   project  the project's own Wine prefix (unmanaged windows), no window manager
#   desktop  a user's kind of prefix (managed windows) under openbox
# For each it prints, per phase of the scene, the share of one core used by
# the card's process, the X server, the prefix's Wine server and the window
# manager, and how long another program's window (xmessage) takes to appear
# when it is started at moments of the scene.
#   tools/desktop_cpu.sh [seconds, default 125] [--compositor] [--only project|desktop]
# CARD_EXE=path measures another build of the card.
# --compositor runs picom (xrender) on top of openbox in the desktop set-up.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=125
compositor=""
only=""
while [ "$#" -gt 0 ]; do
  case "$1" in
  --compositor) compositor=1 ;;
  --only) only=$2; shift ;;
  *) seconds=$1 ;;
  esac
  shift
done
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"
# shellcheck source=tools/desktop.sh
. "$here/tools/desktop.sh"
build_all >/dev/null
use_runnable_build
init_wine_prefix
init_user_prefix
project_prefix=$WINEPREFIX
ticks=$(getconf CLK_TCK)
# Phase ends in seconds of scene time; the last phase runs to the end.
phases=()
for end in 30 60 70 90; do
  if [ "$end" -lt "$seconds" ]; then phases+=("$end"); fi
done
phases+=("$seconds")
probes=(15 45 65 80 110)

CARD_PID="" COMP_PID=""
cleanup() {
  if [ -n "$CARD_PID" ]; then kill "$CARD_PID" 2>/dev/null || true; fi
  if [ -n "$COMP_PID" ]; then kill "$COMP_PID" 2>/dev/null || true; fi
  wineserver -k 2>/dev/null || true
  stop_window_manager
  stop_own_xvfb
}
trap cleanup EXIT INT TERM

# Prints the shares of one core of CPU ticks used in a window of $1 seconds by
# the card, the X server, the Wine server, the window manager and the
# compositor ("-" for a process that is not there).
shares() {
  local window=$1 i=0 pid ticksUsed
  shift
  for ticksUsed in "$@"; do
    pid=${pids[i]:-}
    if [ -n "$pid" ]; then
      awk -v n="$ticksUsed" -v t="$ticks" -v w="$window" 'BEGIN { printf " %7.1f %%", 100 * n / t / w }'
    else
      printf '       - '
    fi
    i=$((i + 1))
  done
}

run_setup() {
  local name=$1 prefix=$2 wm=$3
  export WINEPREFIX=$prefix
  start_own_xvfb
  xsetroot -solid steelblue 2>/dev/null || true
  if [ "$wm" = 1 ]; then
    start_window_manager
    if [ -n "$compositor" ]; then
      picom --backend xrender >/dev/null 2>&1 &
      COMP_PID=$!
    fi
  fi
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
  local server
  server=$(wine_server_pid "$prefix")
  local probe_dir
  probe_dir=$(mktemp -d)
  local t0
  t0=$(date +%s%N)
  wine "${CARD_EXE:-$build/bin/Frostvale-Karte.exe}" >/dev/null 2>&1 &
  CARD_PID=$!
  local pids=("$CARD_PID" "$XVFB_PID" "$server" "${WM_CPU_PID:-}" "${COMP_PID:-}")
  local -a last=() total0=()
  local i
  for i in 0 1 2 3 4; do last[i]=$(cpu_ticks "${pids[i]}"); total0[i]=${last[i]}; done
  local from=0 next_probe=0 now elapsed
  for end in "${phases[@]}"; do
    while :; do
      now=$(date +%s%N)
      elapsed=$(((now - t0) / 1000000))
      [ "$elapsed" -ge $((end * 1000)) ] && break
      if [ "$next_probe" -lt "${#probes[@]}" ] &&
         [ "$elapsed" -ge $((${probes[next_probe]} * 1000)) ] &&
         [ "${probes[next_probe]}" -lt "$seconds" ]; then
        (other_window_latency >"$probe_dir/${probes[next_probe]}") &
        next_probe=$((next_probe + 1))
      fi
      sleep 0.1
    done
    local row=()
    for i in 0 1 2 3 4; do
      local c
      c=$(cpu_ticks "${pids[i]}")
      row+=($((c - last[i])))
      last[i]=$c
    done
    printf '%-8s %4d-%-4d s' "$name" "$from" "$end"
    shares "$((end - from))" "${row[@]}"
    echo
    from=$end
  done
  printf '%-8s %4d-%-4d s' "$name" 0 "$seconds"
  shares "$seconds" $((last[0] - total0[0])) $((last[1] - total0[1])) $((last[2] - total0[2])) \
    $((last[3] - total0[3])) $((last[4] - total0[4]))
  echo "  (whole run)"
  wait $(jobs -p | grep -v -x -e "$CARD_PID" -e "$XVFB_PID" -e "${WM_PID:-x}" -e "${COMP_PID:-x}") 2>/dev/null || true
  local p line="$name another window appears after:"
  for p in "${probes[@]}"; do
    [ "$p" -lt "$seconds" ] || continue
    line+=" ${p} s: $(cat "$probe_dir/$p" 2>/dev/null || echo '?') ms;"
  done
  echo "$line"
  rm -rf "$probe_dir"
  kill "$CARD_PID" 2>/dev/null || true
  wait "$CARD_PID" 2>/dev/null || true
  CARD_PID=""
  wineserver -k 2>/dev/null || true
  if [ -n "$COMP_PID" ]; then kill "$COMP_PID" 2>/dev/null || true; wait "$COMP_PID" 2>/dev/null || true; COMP_PID=""; fi
  stop_window_manager
  stop_own_xvfb
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "set-up   phase          card    X server  Wine server  window manager  compositor (share of one core)"
if [ "$only" != desktop ]; then run_setup project "$project_prefix" 0; fi
if [ "$only" != project ]; then run_setup desktop "$user_prefix" 1; fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
