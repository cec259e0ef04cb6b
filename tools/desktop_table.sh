#!/usr/bin/env bash
# The released card as a user meets it, under each window manager in turn:
# openbox, Xfce's xfwm4 (compositing), KDE's KWin (X11 session) and GNOME's
# mutter (X11 session), on a 1024 x 768 Xvfb, in a stock Wine prefix (plain
# wineboot, no font substitutes). For each it prints one row:
#   shape    share of a bright X window under the snow still showing its
#            colour at 75 s (the shape is honoured where most of it shows)
#   shadows  share of that window darkened by a compositor's shadow
#   letter   the Letter window, opened by pointing at the letter icon at
#            15 s, shows its own paper at 90 s where the snowman stands (yes)
#            or not (no)
#   text     the greeting's ink bands and where its last row lies below the
#            Letter window's top (6 bands ending at 290 at 96 DPI in the
#            script font)
#   X / card the X server's and the card's share of one core, 0 to 92 s
#   window   how long another program's window (xmessage) takes to appear
#            when started at 20, 45 and 65 s
#   tools/desktop_table.sh [window manager ...]     (default: all four)
# CARD_EXE=path measures another build of the card; SHOTS=folder keeps the
# screenshots (<desktop>-75s.png, <desktop>-90s.png).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"
# shellcheck source=tools/desktop.sh
. "$here/tools/desktop.sh"
[ -f "$(runnable_build)/bin/Frostvale-Karte.exe" ] || build_all >/dev/null
use_runnable_build
card_exe=${CARD_EXE:-$build/bin/Frostvale-Karte.exe}
managers=("$@")
[ "${#managers[@]}" -gt 0 ] || managers=(openbox xfwm4 kwin mutter)
ticks=$(getconf CLK_TCK)
bright=80x320+840+200

CARD_PID="" BRIGHT_PID=""
cleanup() {
  if [ -n "$CARD_PID" ]; then kill "$CARD_PID" 2>/dev/null || true; fi
  if [ -n "$BRIGHT_PID" ]; then kill "$BRIGHT_PID" 2>/dev/null || true; fi
  wineserver -k 2>/dev/null || true
  stop_window_manager
  stop_own_xvfb
}
trap cleanup EXIT INT TERM

share() { # share <ticks> <seconds>
  awk -v n="$1" -v t="$ticks" -v s="$2" 'BEGIN { printf "%.1f %%", 100 * n / t / s }'
}
percent() { # percent <part> <whole>
  awk -v p="$1" -v w="$2" 'BEGIN { printf "%.0f %%", w ? 100 * p / w : 0 }'
}

row() {
  local wm=$1
  use_user_prefix_copy "table-$wm"
  start_own_xvfb 97
  start_window_manager "$wm"
  xsetroot -solid steelblue
  xdotool mousemove 512 384
  xmessage -name brightwindow -bg orange -fg orange -geometry "$bright" " " >/dev/null 2>&1 &
  BRIGHT_PID=$!
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
  local x0 c0 t0 start shot probes
  x0=$(cpu_ticks "$XVFB_PID")
  wine "$card_exe" >/dev/null 2>&1 &
  CARD_PID=$!
  start=$(date +%s)
  until xwininfo -name Orvex 2>/dev/null | grep -q IsViewable; do
    if [ $(($(date +%s) - start)) -gt 90 ]; then echo "| $wm | the overlay did not appear |"; return; fi
    sleep 0.1
  done
  t0=$(date +%s%N)
  at() { while [ $((($(date +%s%N) - t0) / 1000000)) -lt $(($1 * 1000)) ]; do sleep 0.1; done; }
  probes=$(mktemp -d)
  shot=$(mktemp --suffix=.png)
  at 15
  xdotool mousemove 942 704
  sleep 1
  xdotool mousemove 824 130
  local t probe_pids=()
  for t in 20 45 65; do
    at "$t"
    (other_window_latency >"$probes/$t") &
    probe_pids+=($!)
  done
  at 75
  import -window root "$shot"
  local same dark all
  read -r same dark all < <(colour_counts "$shot" 255,165,0 "$bright")
  [ -z "${SHOTS:-}" ] || cp "$shot" "$SHOTS/$wm-75s.png"
  at 90
  import -window root "$shot"
  [ -z "${SHOTS:-}" ] || cp "$shot" "$SHOTS/$wm-90s.png"
  c0=$(cpu_ticks "$CARD_PID")
  local x1 seconds letter="no" text="-"
  x1=$(cpu_ticks "$XVFB_PID")
  seconds=$((($(date +%s%N) - t0) / 1000000000))
  local geometry
  geometry=$(xwininfo -name Letter 2>/dev/null | awk '
    /Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
    /Width:/ {w = $2} /Height:/ {h = $2} END { if (w) print x, y, w, h }' || true)
  if [ -n "$geometry" ]; then
    local lx ly lw lh
    read -r lx ly lw lh <<<"$geometry"
    # Where the snowman's middle ball lies under the Letter window.
    local left=$((lx + 10 > 230 ? lx + 10 : 230)) bottom=$((ly + lh - 40 < 498 ? ly + lh - 40 : 498))
    local paper
    read -r paper _ all_ball < <(colour_counts "$shot" 255,255,0 "$((370 - left))x$((bottom - 358))+$left+358")
    [ $((paper * 2)) -gt "$all_ball" ] && letter="yes"
    local bands lastrow
    read -r bands lastrow < <(ink_bands "$shot" "$((lw - 24))x$((lh - 52))+$((lx + 12))+$((ly + 12))")
    [ "$lastrow" = - ] || text="$bands bands, last row at $((lastrow + 12))"
  fi
  wait "${probe_pids[@]}" 2>/dev/null || true
  local windows="" ms
  for t in 20 45 65; do
    ms=$(cat "$probes/$t" 2>/dev/null || echo '?')
    windows+="${windows:+, }$ms"
  done
  printf '| %s | %s | %s | %s | %s | %s / %s | %s ms |\n' "$wm" "$(percent "$same" "$all")" \
    "$(percent "$dark" "$all")" "$letter" "$text" "$(share $((x1 - x0)) "$seconds")" \
    "$(share "$c0" "$seconds")" "$windows"
  rm -rf "$probes" "$shot"
  kill "$CARD_PID" 2>/dev/null || true
  wait "$CARD_PID" 2>/dev/null || true
  CARD_PID=""
  kill "$BRIGHT_PID" 2>/dev/null || true
  wait "$BRIGHT_PID" 2>/dev/null || true
  BRIGHT_PID=""
  wineserver -k 2>/dev/null || true
  stop_window_manager
  stop_own_xvfb
}

echo "card: $card_exe; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "| desktop | shape (bright window showing) | shadows (darkened) | Letter above the snowman | greeting | X server / card | another window appears after |"
echo "|---|---|---|---|---|---|---|"
for wm in "${managers[@]}"; do row "$wm"; done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
