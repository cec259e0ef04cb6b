# Shared by run.sh and test.sh: the project's build, its Wine prefix and an X
# display. Source it; it defines functions and exports the Wine settings.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${ORVEX_BUILD_DIR:-$here/build}"
deps="${ORVEX_DEPS_DIR:-$here/build/deps}"
export ORVEX_DEPS_DIR="$deps"
export WINEPREFIX="${WINEPREFIX:-$build/wine}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# Some hosts' kernels run no 32-bit programs at all (no IA-32 emulation): the
# 32-bit Wine cannot start there, so neither the card nor the 32-bit tests
# can run, and 64-bit programs must go to the 64-bit loader directly.
host_runs_32bit() {
  [ ! -x /usr/lib/wine/wine ] || /usr/lib/wine/wine --version >/dev/null 2>&1
}
ORVEX_HOST_32BIT=1
if ! host_runs_32bit; then
  ORVEX_HOST_32BIT=0
  export PATH="$here/tools/wine64-only:$PATH"
fi
# The 64-bit Orvex.dll and its tests run in a 64-bit prefix of their own.
WINEPREFIX64="${ORVEX_WINEPREFIX64:-$build/wine64}"
# Builds use every core unless told otherwise.
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

# Runs a command (or one of these functions) with the 64-bit Wine prefix.
with_wine64() {
  WINEPREFIX="$WINEPREFIX64" WINEARCH=win64 "$@"
}

# Configures (once) and builds everything into $build.
build_all() {
  if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" \
      -DORVEX_DEPS_DIR="$deps" >/dev/null
  fi
  cmake --build "$build"
}

# The release files under $build/dist (the `dist` target): the stripped card,
# the SDK with the 32- and 64-bit Orvex.dll (the latter built in $build/x64),
# and their archives.
build_release() {
  build_all
  cmake --build "$build" --target dist
}

# Makes the project's Wine prefix on first use (about 20 s) and maps the font
# faces the windows ask for to the free faces the machine has.
init_wine_prefix() {
  unmanage_windows
  if [ -f "$WINEPREFIX/.fonts-mapped" ]; then return; fi
  echo "env: initialising the Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  local key='HKCU\Software\Wine\Fonts\Replacements'
  wine reg add "$key" /v 'Script MT Bold' /d 'Dancing Script' /f >/dev/null 2>&1 || true
  wine reg add "$key" /v 'Courier New' /d 'Liberation Mono' /f >/dev/null 2>&1 || true
  wine reg add "$key" /v 'Arial' /d 'Liberation Sans' /f >/dev/null 2>&1 || true
  wineserver -w
  touch "$WINEPREFIX/.fonts-mapped"
  unmanage_windows
}

# Xvfb has no window manager: Wine would wait two seconds for one at every
# hiding of a framed window. Wine then manages the windows itself.
unmanage_windows() {
  if [ -f "$WINEPREFIX/.x11-unmanaged" ] || [ ! -d "$WINEPREFIX" ]; then return; fi
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  wineserver -w
  touch "$WINEPREFIX/.x11-unmanaged"
}

# Switches to a copy of the project's Wine prefix, $build/wine-<name>, made
# once; the command given after the name, if any, runs in the new copy first.
# On exit the copy's Wine server and our own Xvfb are stopped.
use_prefix_copy() {
  local name=$1 prefix="$build/wine-$1"
  shift
  if [ ! -f "$prefix/.copied" ]; then
    rm -rf "$prefix"
    cp -a "$WINEPREFIX" "$prefix"
    if [ "$#" -gt 0 ]; then
      WINEPREFIX="$prefix" "$@"
      WINEPREFIX="$prefix" wineserver -w
    fi
    touch "$prefix/.copied"
  fi
  export WINEPREFIX=$prefix
  trap 'wineserver -k 2>/dev/null || true; stop_own_xvfb' EXIT
}

# For a script that runs programs by hand: the project's prefix, and our own
# Xvfb when there is no display; both stop when the script ends.
use_wine_and_display() {
  init_wine_prefix
  trap 'wineserver -k 2>/dev/null || true; stop_own_xvfb' EXIT INT TERM
  if ! display_works; then start_own_xvfb; fi
}

# True when $DISPLAY names an X server that answers.
display_works() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && return 0
  [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1
}

# Starts our own Xvfb on a free display number (from $1, default 91) with the
# screen $2 (default 1024x768x24) and exports DISPLAY.
# Sets XVFB_PID; stop_own_xvfb stops exactly that process.
XVFB_PID=""
start_own_xvfb() {
  # Tests start side by side: one at a time picks a free number and waits
  # until its server answers, so no two ever share a display.
  local rc=0
  exec {XVFB_LOCK_FD}>"${TMPDIR:-/tmp}/orvex-xvfb-start.lock"
  flock "$XVFB_LOCK_FD"
  start_own_xvfb_now "$@" || rc=$?
  exec {XVFB_LOCK_FD}>&-
  return "$rc"
}

start_own_xvfb_now() {
  local n=${1:-91} screen=${2:-1024x768x24}
  for _ in $(seq 20); do
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    # The server must not hold the lock on (it would keep it while it runs).
    Xvfb ":$n" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 {XVFB_LOCK_FD}>&- &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      # Our own server must still be running: a server of someone else's may
      # have taken :$n first. The display's lock file names its server.
      kill -0 "$XVFB_PID" 2>/dev/null || break
      if xdotool getdisplaygeometry >/dev/null 2>&1; then
        [ "$(tr -d ' ' <"/tmp/.X$n-lock" 2>/dev/null)" = "$XVFB_PID" ] && return 0
        break
      fi
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
    n=$((n + 1))
  done
  echo "env: could not start Xvfb" >&2
  return 1
}

stop_own_xvfb() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}

# Starts the card under Wine on an Xvfb of its own and sets CARD_PID; on exit
# the card, the prefix's Wine server and that Xvfb are stopped.
CARD_PID=""
start_card_on_own_display() {
  trap stop_card_and_display EXIT INT TERM
  start_own_xvfb
  wineserver -p
  wine "$build/bin/Frostvale-Karte.exe" &
  CARD_PID=$!
}

stop_card_and_display() {
  if [ -n "$CARD_PID" ]; then kill "$CARD_PID" 2>/dev/null || true; fi
  wineserver -k 2>/dev/null || true
  stop_own_xvfb
}
