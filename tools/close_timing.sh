#!/usr/bin/env bash
# Ending the card as a user does, timed from outside: the real card on its own
# Xvfb runs until its scene is complete (95 s, about 4,000 items; the first
# argument sets another time), the Letter window is opened from the icon and
# closed, then the close box is clicked. Prints the milliseconds from the
# click until the close box is gone from the screen and until the process has
# ended.
#   tools/close_timing.sh [seconds of scene, default 95]
# CARD_EXE=path times another build of the card.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
settle=${1:-95}
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"
build_all >/dev/null
use_runnable_build
init_wine_prefix
trap stop_card_and_display EXIT INT TERM
start_own_xvfb
wineserver -p
wine "${CARD_EXE:-$build/bin/Frostvale-Karte.exe}" >/dev/null 2>&1 &
CARD_PID=$!
read -r W H < <(xdotool getdisplaygeometry)
sleep "$settle"
# The Letter window from the icon, closed again with Escape-free "X": click
# its own close button, found by its place in the window (top right of the
# button row); pressing the icon again would not open it twice.
xdotool mousemove $((W - 82)) $((H - 64)) click 1
sleep 3
letter=$(xdotool search --name '^Letter$' | head -n1 || true)
if [ -n "$letter" ]; then
  eval "$(xdotool getwindowgeometry --shell "$letter")"
  xdotool mousemove $((X + WIDTH - 20)) $((Y + HEIGHT - 18)) click 1
  sleep 2
fi
xdotool mousemove $((W / 2)) $((H / 2))
sleep 1
# The middle of the close box is white; it is gone when that pixel is not.
# A small X program watches it: a screen shot takes about 30 ms a look.
watch_bin="$build/tools/pixel_watch"
mkdir -p "$(dirname "$watch_bin")"
gcc -O2 -o "$watch_bin" "$here/tools/pixel_watch.c" -lX11
watch_out=$(mktemp)
"$watch_bin" $((W - 30)) 30 20000 >"$watch_out" &
WATCH_PID=$!
for _ in $(seq 200); do grep -q ready "$watch_out" && break; sleep 0.01; done
grep -q ready "$watch_out" || { echo "close_timing: no close box on the screen"; exit 1; }
start=$(date +%s%N)
xdotool mousemove $((W - 30)) 30 click 1
ended=""
while [ -z "$ended" ]; do
  now=$((($(date +%s%N) - start) / 1000000))
  [ "$now" -gt 20000 ] && break
  if ! kill -0 "$CARD_PID" 2>/dev/null; then ended=$now; else sleep 0.002; fi
done
wait "$WATCH_PID" || true
seen=$(tail -n1 "$watch_out")
rm -f "$watch_out"
cleared=""
[ "$seen" != ready ] && cleared=$(((seen - start) / 1000000))
CARD_PID=""
echo "click to a clear screen: ${cleared:-over 20000} ms"
echo "click to the process end: ${ended:-over 20000} ms (looked at every 2 ms or so)"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
