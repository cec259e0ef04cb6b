#!/usr/bin/env bash
# What the card asks of the X server on a desktop as people have it: the card
# in a user's kind of Wine prefix under openbox, its X connection recorded by
# xtrace. Prints, for a window of the scene, the requests per second by kind
# and the bytes of window shapes sent per second.
#   tools/desktop_xtrace.sh [from second, default 30] [to second, default 60]
# CARD_EXE=path traces another build of the card.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
from=${1:-30}
to=${2:-60}
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"
# shellcheck source=tools/desktop.sh
. "$here/tools/desktop.sh"
build_all >/dev/null
use_runnable_build
init_user_prefix
export WINEPREFIX=$user_prefix
trace=$(mktemp)
XT_PID="" CARD_PID=""
cleanup() {
  if [ -n "$CARD_PID" ]; then kill "$CARD_PID" 2>/dev/null || true; fi
  wineserver -k 2>/dev/null || true
  if [ -n "$XT_PID" ]; then kill "$XT_PID" 2>/dev/null || true; fi
  stop_window_manager
  stop_own_xvfb
  rm -f "$trace"
}
trap cleanup EXIT
start_own_xvfb 95
real=$DISPLAY
xsetroot -solid steelblue
start_window_manager
proxy=":$((${real#:} + 30))"
xtrace -D "$proxy" -d "$real" -n -o "$trace" >/dev/null 2>&1 &
XT_PID=$!
sleep 1
export DISPLAY=$proxy
wineserver -p
start=$(date +%s)
wine "${CARD_EXE:-$build/bin/Frostvale-Karte.exe}" >/dev/null 2>&1 &
CARD_PID=$!
sleep "$from"
mark=$(wc -l <"$trace")
sleep $((to - from))
# Requests sent from here on, by kind; shape requests also by their size.
tail -n +"$mark" "$trace" | awk -v secs=$((to - from)) -v from="$from" -v to="$to" '
  / Request\(|-Request\(/ {
    if (match($0, /[A-Z-]*Request\([0-9,]+\): [A-Za-z]+/)) {
      kind = substr($0, RSTART, RLENGTH); sub(/.*\): /, "", kind)
      if ($0 ~ /SHAPE-Request/) kind = "Shape" kind
      n[kind]++
      split($0, f, ":"); bytes[kind] += f[4] + 0
    }
  }
  END {
    printf "requests per second between %d and %d s of the scene:\n", from, to
    for (k in n) printf "  %-24s %8.1f /s %10.0f bytes/s\n", k, n[k] / secs, bytes[k] / secs
  }' | sort -k2 -nr
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
