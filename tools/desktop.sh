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

# Starts openbox on $DISPLAY and waits until it has taken the screen; sets WM_PID.
WM_PID=""
start_window_manager() {
  openbox --sm-disable >/dev/null 2>&1 &
  WM_PID=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    kill -0 "$WM_PID" 2>/dev/null || break
    sleep 0.05
  done
  echo "desktop: openbox did not start" >&2
  return 1
}

stop_window_manager() {
  if [ -n "$WM_PID" ]; then
    kill "$WM_PID" 2>/dev/null || true
    wait "$WM_PID" 2>/dev/null || true
    WM_PID=""
  fi
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
