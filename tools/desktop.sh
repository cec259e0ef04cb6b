# A desktop as people run the card: a window manager on the X display and a
# Wine prefix of the kind every user has (wineboot's defaults, so Wine hands
# full-screen and activated windows to the window manager). Source it after
# tools/env.sh; it defines functions only.

# The user's kind of prefix, made once under the build folder.
user_prefix="${ORVEX_USER_PREFIX:-$build/wine-user}"

init_user_prefix() {
  if [ -f "$user_prefix/.booted" ]; then return; fi
  echo "desktop: initialising the user-style Wine prefix $user_prefix"
  mkdir -p "$user_prefix"
  WINEPREFIX="$user_prefix" wineboot -i >/dev/null 2>&1 || true
  WINEPREFIX="$user_prefix" wineserver -w
  touch "$user_prefix/.booted"
}

# The window managers the tests and tools run the card under: openbox (no
# compositor), and the compositing ones of Xfce, KDE (X11 session) and GNOME
# (X11 session), each in a D-Bus session of its own.
window_manager_command() {
  case "$1" in
  openbox) echo "openbox --sm-disable" ;;
  xfwm4) echo "dbus-run-session -- xfwm4 --compositor=on --sm-client-disable" ;;
  kwin) echo "dbus-run-session -- kwin_x11 --replace" ;;
  mutter) echo "dbus-run-session -- mutter --x11 --replace --sm-disable" ;;
  *) return 1 ;;
  esac
}

# Starts window manager $1 (default openbox) on $DISPLAY and waits until it has
# taken the screen; sets WM_PID (the process started) and WM_CPU_PID (the
# window manager itself, for its CPU share).
WM_PID="" WM_CPU_PID=""
start_window_manager() {
  local wm=${1:-openbox} command
  command=$(window_manager_command "$wm") || { echo "desktop: no window manager $wm" >&2; return 1; }
  # shellcheck disable=SC2086
  $command >"${TMPDIR:-/tmp}/orvex-wm-$$.log" 2>&1 &
  WM_PID=$!
  for _ in $(seq 300); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
      WM_CPU_PID=$(pgrep -n -P "$WM_PID" 2>/dev/null || true)
      [ -n "$WM_CPU_PID" ] || WM_CPU_PID=$WM_PID
      # A compositor takes its selection after the window manager's.
      if [ "$wm" != openbox ]; then sleep 2; fi
      return 0
    fi
    kill -0 "$WM_PID" 2>/dev/null || break
    sleep 0.05
  done
  echo "desktop: $wm did not start on $DISPLAY: $(tail -n 3 "${TMPDIR:-/tmp}/orvex-wm-$$.log" 2>/dev/null)" >&2
  return 1
}

stop_window_manager() {
  if [ -n "$WM_PID" ]; then
    local child
    for child in $(pgrep -P "$WM_PID" 2>/dev/null || true); do kill "$child" 2>/dev/null || true; done
    kill "$WM_PID" 2>/dev/null || true
    wait "$WM_PID" 2>/dev/null || true
    WM_PID="" WM_CPU_PID=""
  fi
}

# A copy of the user's kind of prefix for one desktop, so that runs on several
# displays side by side do not share a Wine server; sets WINEPREFIX.
use_user_prefix_copy() {
  local copy="$user_prefix-$1"
  init_user_prefix
  if [ ! -f "$copy/.booted" ]; then
    rm -rf "$copy"
    cp -a "$user_prefix" "$copy"
  fi
  export WINEPREFIX=$copy
}

# Counts, inside the rectangle WxH+X+Y of screenshot $1, the pixels of colour
# $2 (r,g,b) as it is, and the pixels of that colour darkened (a shadow: the
# same hue, 15 to 85 % as bright). Prints "<as is> <darkened> <all>".
colour_counts() {
  local shot=$1 colour=$2 geometry=$3
  convert "$shot" -crop "$geometry" +repage -depth 8 rgb:- | python3 -c '
import sys
r0, g0, b0 = (int(v) for v in sys.argv[1].split(","))
data = sys.stdin.buffer.read()
same = dark = 0
for i in range(0, len(data), 3):
    r, g, b = data[i], data[i + 1], data[i + 2]
    if abs(r - r0) <= 3 and abs(g - g0) <= 3 and abs(b - b0) <= 3:
        same += 1
        continue
    k = r / r0 if r0 else 0
    if 0.15 <= k <= 0.85 and abs(g - g0 * k) <= 12 and abs(b - b0 * k) <= 12:
        dark += 1
print(same, dark, len(data) // 3)
' "$colour"
}

# The pid of the Wine server that serves prefix $1 (empty when none runs).
wine_server_pid() {
  local p found=""
  for p in $(pgrep -u "$(id -u)" wineserver || true); do
    if { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$1"; then found=$p; fi
  done
  echo "$found"
}

# CPU ticks (user + system) a process has used so far; 0 once it is gone.
cpu_ticks() {
  if [ -n "${1:-}" ] && [ -r "/proc/$1/stat" ]; then
    awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0
  else
    echo 0
  fi
}

# Milliseconds from starting another program's window (xmessage) until the X
# server reports it viewable, as long as a person waits for it; "-" when it
# did not show within 60 s. The window is closed again afterwards.
other_window_latency() {
  local start now pid ms="-"
  start=$(date +%s%N)
  xmessage -name orvexprobe -geometry 300x80+120+120 "another program" >/dev/null 2>&1 &
  pid=$!
  while :; do
    now=$(date +%s%N)
    if xwininfo -name orvexprobe 2>/dev/null | grep -q 'IsViewable'; then
      ms=$(((now - start) / 1000000))
      break
    fi
    [ $(((now - start) / 1000000)) -gt 60000 ] && break
    sleep 0.01
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$ms"
}

# The rows of the rectangle WxH+X+Y of screenshot $1 that hold red ink, as
# bands of consecutive rows. Prints "<bands> <last ink row, counted from Y>"
# ("0 -" when there is none).
ink_bands() {
  local shot=$1 geometry=$2
  local width=${geometry%%x*}
  convert "$shot" -crop "$geometry" +repage -depth 8 rgb:- | python3 -c '
import sys
width = int(sys.argv[1])
data = sys.stdin.buffer.read()
rows = len(data) // (3 * width)
bands, last, previous = 0, None, None
for y in range(rows):
    line = data[y * width * 3:(y + 1) * width * 3]
    if any(line[i] > 180 and line[i + 1] < 140 and line[i + 2] < 140 for i in range(0, len(line), 3)):
        if previous != y - 1:
            bands += 1
        previous = last = y
print(bands, "-" if last is None else last)
' "$width"
}
