#!/usr/bin/env bash
# What the card asks of the Wine server: the card under openbox in a copy of
# a stock prefix on its own Xvfb, with the prefix's Wine server started in
# debug mode (wineserver -d1 logs every request). After the run it prints the
# requests of the scene's seconds FROM to TO by kind, per second, the most
# frequent first, and the CPU share the server used over the run.
#   tools/wineserver_requests.sh [FROM TO]      (default 10 40)
#   tools/wineserver_requests.sh --api          what single calls cost
# --api runs tools/wine_request_probe.c instead of the card and prints, per
# call of each function the overlay uses on its ticks, the requests it made.
# CARD_EXE=path measures another build of the card. The debug log slows the
# server down: compare counts between builds, not the CPU share with
# tools/desktop_cpu.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
api=""
if [ "${1:-}" = --api ]; then api=1; shift; fi
from=${1:-10}
to=${2:-40}
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"
# shellcheck source=tools/desktop.sh
. "$here/tools/desktop.sh"
build_all >/dev/null
use_runnable_build
use_user_prefix_copy requests

CARD_PID="" SERVER_PID=""
cleanup() {
  if [ -n "$CARD_PID" ]; then kill "$CARD_PID" 2>/dev/null || true; fi
  wineserver -k 2>/dev/null || true
  if [ -n "$SERVER_PID" ]; then wait "$SERVER_PID" 2>/dev/null || true; fi
  stop_window_manager
  stop_own_xvfb
}
trap cleanup EXIT INT TERM

start_own_xvfb
xsetroot -solid steelblue 2>/dev/null || true
start_window_manager openbox
log="$build/wineserver-requests.log"
wineserver -f -d1 2>"$log" &
SERVER_PID=$!
sleep 1

if [ -n "$api" ]; then
  triplet=x86_64-w64-mingw32
  if [ "$ORVEX_ARCH" = x86 ]; then triplet=i686-w64-mingw32; fi
  probe="$build/wine_request_probe.exe"
  "$triplet-gcc" -O1 -Wall -Wextra -mwindows -o "$probe" "$here/tools/wine_request_probe.c"
  wine "$probe"
  wineserver -k 2>/dev/null || true
  wait "$SERVER_PID" 2>/dev/null || true
  SERVER_PID=""
  echo "Wine server requests per call ($(basename "$build"), under openbox):"
  awk '/open_mutex\(.*name=L"m-/ { match($0, /L"m-[^"]*"/); group = substr($0, RSTART + 4, RLENGTH - 5); next }
       group != "" && group != "end" && /^[0-9a-f]+: [a-z_0-9]+\( / { n[group]++; sub(/\(.*/, "", $2); k[group, $2]++ }
       END { for (g in n) printf "  %-30s %6.1f\n", g, n[g] / 100 }' "$log" | sort -k2 -rn
  exit 0
fi
ticks0=$(awk '{ print $14 + $15 }' "/proc/$SERVER_PID/stat")
wine "${CARD_EXE:-$build/bin/Frostvale-Karte.exe}" >/dev/null 2>&1 &
CARD_PID=$!
# The scene's clock starts with the card; mark the log at FROM and TO.
sleep "$from"
start_line=$(wc -l <"$log")
sleep $((to - from))
end_line=$(wc -l <"$log")
ticks1=$(awk '{ print $14 + $15 }' "/proc/$SERVER_PID/stat")
kill "$CARD_PID" 2>/dev/null || true
CARD_PID=""

seconds=$((to - from))
echo "Wine server requests from ${from} to ${to} s of the scene, per second ($(basename "$build"), debug log on):"
sed -n "$((start_line + 1)),${end_line}p" "$log" |
  sed -n 's/^[0-9a-f]*: \([a-z_0-9]*\)( .*/\1/p' | sort | uniq -c | sort -rn |
  awk -v s="$seconds" '{ total += $1; if (NR <= 20) printf "  %-28s %8.1f\n", $2, $1 / s }
                       END { printf "  %-28s %8.1f\n", "all kinds", total / s }'
awk -v a="$ticks0" -v b="$ticks1" -v t="$(getconf CLK_TCK)" -v s="$to" \
  'BEGIN { printf "Wine server CPU over 0-%d s: %.1f %% of a core (with its debug log)\n", s, 100 * (b - a) / t / s }'
