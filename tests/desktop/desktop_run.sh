#!/usr/bin/env bash
# The real card on a desktop as people have it: a window manager on its own
# Xvfb, a stock Wine prefix (plain wineboot: windows handed to the window
# manager, no font substitutes) and other programs' windows. The Win32 side
# (desktop_tests.exe, DesktopCard.*) drives the card; this script checks what
# only the X side sees: the scene drawn above an X program's window without
# compositor shadows, new windows of other programs appearing at once during
# the scene, and that X program still taking input afterwards.
#   desktop_run.sh <desktop_tests.exe> <build folder> [openbox|xfwm4|kwin|mutter]
set -euo pipefail
exe=$1
ORVEX_BUILD_DIR=$(cd "$2" && pwd)
export ORVEX_BUILD_DIR
wm=${3:-openbox}
here=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"
# shellcheck source=tools/desktop.sh
. "$here/tools/desktop.sh"
# Each desktop its own copy of the prefix, so runs side by side share no Wine server.
use_user_prefix_copy "$wm"

XM_PID="" BRIGHT_PID="" TEST_PID=""
cleanup() {
  local p
  for p in "$TEST_PID" "$XM_PID" "$BRIGHT_PID"; do
    if [ -n "$p" ]; then kill "$p" 2>/dev/null || true; fi
  done
  wineserver -k 2>/dev/null || true
  stop_window_manager
  stop_own_xvfb
}
trap cleanup EXIT
start_own_xvfb 95
start_window_manager "$wm"
# mutter puts the pointer near the bottom right corner, on the letter icon.
xdotool mousemove 512 384
xsetroot -solid steelblue

fail=0
check() { # check <condition text> <0|1>
  if [ "$2" = 0 ]; then echo "desktop ($wm): ok: $1"; else echo "desktop ($wm): FAILED: $1"; fail=1; fi
}

# An X program's window in the top right corner, where the close box goes,
# and a bright one on the right, under the falling snow.
xmessage -name otherprogram -default okay -geometry 300x120+724+0 "another program" >/dev/null 2>&1 &
XM_PID=$!
# Clear of the Letter window (179..844 at 1024 x 768) and of its own shadow.
bright_geometry=80x320+900+200
xmessage -name brightwindow -bg orange -fg orange -geometry "$bright_geometry" " " >/dev/null 2>&1 &
BRIGHT_PID=$!
wineserver -p
ORVEX_DESKTOP=$wm wine "$exe" --gtest_color=no --gtest_filter='DesktopCard.*' &
TEST_PID=$!

# The scene starts when the overlay's X window shows.
start=$(date +%s)
until xwininfo -name Orvex 2>/dev/null | grep -q IsViewable; do
  if [ $(($(date +%s) - start)) -gt 90 ] || ! kill -0 "$TEST_PID" 2>/dev/null; then
    check "the overlay window appears" 1
    wait "$TEST_PID" || true
    exit 1
  fi
  sleep 0.1
done
t0=$(date +%s)
at() { while [ $(($(date +%s) - t0)) -lt "$1" ]; do sleep 0.2; done; }

at 8
shot=$(mktemp --suffix=.png)
import -window root "$shot"
# The close box's black inside, drawn over the X program's window.
sum=$(convert "$shot" -format '%[fx:255*(p{980,30}.r+p{980,30}.g+p{980,30}.b)]' info:)
check "the close box shows above an X program's window (colour sum $sum)" "$([ "${sum%.*}" -le 6 ] && echo 0 || echo 1)"

# Another program's window appears at once at every stage of the scene.
for t in 20 45 65; do
  at "$t"
  ms=$(other_window_latency)
  check "a new window at ${t} s of the scene appears within 3 s (${ms} ms)" \
    "$([ "$ms" != "-" ] && [ "$ms" -lt 3000 ] && echo 0 || echo 1)"
done

# Snow falls and drifts over the bright window: around the items it keeps its
# colour (the shape is honoured: about 40 % still shows at 75 s, where a lost
# shape shows none), and no compositor darkens it with shadows.
at 75
import -window root "$shot"
if [ "$(xwininfo -name brightwindow 2>/dev/null | grep -c IsViewable)" = 1 ]; then
  read -r same dark all < <(colour_counts "$shot" 255,165,0 "$bright_geometry")
  check "the bright window shows between the items ($same of $all pixels orange)" \
    "$([ $((same * 100)) -ge $((all * 25)) ] && echo 0 || echo 1)"
  check "no shadow darkens the bright window ($dark of $all pixels darkened)" \
    "$([ $((dark * 100)) -le "$all" ] && echo 0 || echo 1)"
else
  check "the bright window is shown" 1
fi
rm -f "$shot"

rc=0
wait "$TEST_PID" || rc=$?
TEST_PID=""
check "the card's desktop test (exit code $rc)" "$([ "$rc" = 0 ] && echo 0 || echo 1)"

# The X program is still there and takes the keyboard: Return presses "okay".
if kill -0 "$XM_PID" 2>/dev/null; then
  wid=$(xdotool search --name otherprogram | head -n1)
  xdotool windowactivate --sync "$wid" key Return 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$XM_PID" 2>/dev/null || break; sleep 0.1; done
fi
xm=0
if kill -0 "$XM_PID" 2>/dev/null; then xm=1; else wait "$XM_PID" || xm=$?; fi
XM_PID=""
check "the X program still takes input (its exit code $xm)" "$xm"
exit "$fail"
