#!/usr/bin/env bash
# The real card left running after its scene, the pointer moved over the snow
# from outside the process (as a user moves it): prints the card's resident
# anonymous memory (what Wine reports as its commit charge) every 30 s.
#   tools/card_pointer_run.sh [seconds after the scene, default 600]
# Keeps the pointer away from the close box and the letter icon.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"
build_all >/dev/null
use_runnable_build
init_wine_prefix
start_card_on_own_display
sleep 95
anon() { awk '/^RssAnon:/ {print $2 " KiB"}' "/proc/$CARD_PID/status"; }
echo "after the scene: $(anon)"
read -r W H < <(xdotool getdisplaygeometry)
start=$(date +%s%N)
moves=0
next=30
while :; do
  ms=$((($(date +%s%N) - start) / 1000000))
  [ "$ms" -ge $((seconds * 1000)) ] && break
  kill -0 "$CARD_PID" 2>/dev/null || { echo "the card ended"; exit 1; }
  read -r x y < <(awk -v t="$ms" -v W="$W" -v H="$H" 'BEGIN {
    t /= 1000; x = int((0.5 + 0.45 * sin(t * 0.37)) * W); y = int((0.5 + 0.45 * sin(t * 0.23 + 1)) * H)
    if (x > W - 120 && y < 120) y = 160
    if (x > W - 150 && y > H - 120) y = H - 170
    print x, y }')
  xdotool mousemove "$x" "$y"
  moves=$((moves + 1))
  if [ $((ms / 1000)) -ge "$next" ]; then
    echo "$((ms / 1000)) s, $moves moves: $(anon)"
    next=$((next + 30))
  fi
  sleep 0.05
done
echo "end, $moves moves: $(anon)"
