#!/usr/bin/env bash
# Starts the card under Wine on its own Xvfb, lets the scene complete (95 s)
# and prints the CPU time the card's process uses in the following 30 s, as a
# share of one core. Its own Wine server's share is printed beside it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"
build_all >/dev/null
use_runnable_build
init_wine_prefix
start_card_on_own_display
settle=${SETTLE_SECONDS:-95}
window=${WINDOW_SECONDS:-30}
sleep "$settle"
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
server_pid=""
# The Wine server of this prefix: the newest one whose environment names it.
for p in $(pgrep -u "$(id -u)" wineserver || true); do
  if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then server_pid=$p; fi
done
c0=$(cpu "$CARD_PID"); s0=$(cpu "$server_pid" 2>/dev/null || echo 0)
sleep "$window"
c1=$(cpu "$CARD_PID"); s1=$(cpu "$server_pid" 2>/dev/null || echo 0)
awk -v c=$((c1 - c0)) -v s=$((s1 - s0)) -v t="$ticks" -v w="$window" 'BEGIN {
  printf "card process: %.2f s CPU in %d s = %.2f%% of one core\n", c / t, w, 100 * c / t / w
  printf "wine server:  %.2f s CPU in %d s = %.2f%% of one core\n", s / t, w, 100 * s / t / w }'
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
