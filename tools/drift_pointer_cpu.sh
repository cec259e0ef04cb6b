#!/usr/bin/env bash
# The card's CPU while its edge drifts grow (60 to 70 s into the scene) with
# the pointer where a user may leave it: resting on the top edge's drift,
# resting in the middle of the screen, or sweeping along the top edge. Each
# card runs on an Xvfb of its own; prints the card's share of a core for
# 60-65 s, 65-70 s and 60-70 s, one mode after the other.
#   tools/drift_pointer_cpu.sh [mode ...]   (modes: rest middle sweep; default all three)
# CARD_EXE=path measures another build of the card; BEFORE_EXE=path runs that
# build beside it at the same time, so that both meet the same load.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"
# shellcheck source=tools/desktop.sh
. "$here/tools/desktop.sh"
build_all >/dev/null
use_runnable_build
init_wine_prefix
modes=("$@")
[ ${#modes[@]} -gt 0 ] || modes=(rest middle sweep)
hz=$(getconf CLK_TCK)

# One card on its own display: the pointer placed from 55 s on, its CPU
# ticks read at 60, 65 and 70 s.
run_mode() {
  local mode=$1 exe=$2 out=$3
  start_own_xvfb "$4"
  local xvfb=$XVFB_PID
  wine "$exe" >/dev/null 2>&1 &
  local card=$! t0 W H
  t0=$(date +%s%N)
  read -r W H < <(xdotool getdisplaygeometry)
  at() { while [ $((($(date +%s%N) - t0) / 1000000)) -lt "$1" ]; do sleep 0.02; done; }
  at 55000
  case $mode in
    rest) xdotool mousemove $((W / 2)) 12 ;;
    middle) xdotool mousemove $((W / 2)) $((H / 2)) ;;
  esac
  local ticks=() x
  for mark in 60000 65000 70000; do
    if [ "$mode" = sweep ]; then
      # Along the top edge, left to right in 5 s and back.
      while [ $((($(date +%s%N) - t0) / 1000000)) -lt "$mark" ]; do
        x=$(( ($(date +%s%N) - t0) / 1000000 % 10000 ))
        [ $x -gt 5000 ] && x=$((10000 - x))
        xdotool mousemove $((x * (W - 200) / 5000 + 20)) 12
        sleep 0.05
      done
    else
      at "$mark"
    fi
    ticks+=("$(cpu_ticks "$card")")
  done
  awk -v m="$mode" -v a="${ticks[0]}" -v b="${ticks[1]}" -v c="${ticks[2]}" -v hz="$hz" 'BEGIN {
    printf "%-7s 60-65 s %5.1f %%   65-70 s %5.1f %%   60-70 s %5.1f %%", m,
      (b - a) * 100 / hz / 5, (c - b) * 100 / hz / 5, (c - a) * 100 / hz / 10 }' >"$out"
  kill "$card" 2>/dev/null || true
  wait "$card" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
wineserver -p
for mode in "${modes[@]}"; do
  run_mode "$mode" "${CARD_EXE:-$build/bin/Frostvale-Karte.exe}" "$build/drift-after.txt" 130 &
  after=$!
  if [ -n "${BEFORE_EXE:-}" ]; then
    run_mode "$mode" "$BEFORE_EXE" "$build/drift-before.txt" 160 &
    wait $!
    echo "$(cat "$build/drift-before.txt")   (before)"
  fi
  wait "$after"
  echo "$(cat "$build/drift-after.txt")"
done
wineserver -k 2>/dev/null || true
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
