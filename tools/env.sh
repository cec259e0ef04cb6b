# Shared by run.sh and test.sh: the project's build, its Wine prefix and an X
# display. Source it; it defines functions and exports the Wine settings.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=tools/host.sh
. "$here/tools/host.sh"
build="${ORVEX_BUILD_DIR:-$here/build}"
deps="${ORVEX_DEPS_DIR:-$here/build/deps}"
export ORVEX_DEPS_DIR="$deps"
# The build folder's programs are 64-bit when it was configured with the
# x86_64 toolchain (build/x64): they run in a 64-bit prefix of its own.
build_arch() {
  if grep -qs 'mingw-x86_64\.cmake' "$1/CMakeCache.txt"; then echo x64; else echo x86; fi
}
ORVEX_ARCH="${ORVEX_ARCH:-$(build_arch "$build")}"
export ORVEX_ARCH
if [ "$ORVEX_ARCH" = x64 ]; then export WINEARCH=win64; else export WINEARCH=win32; fi
export WINEPREFIX="${WINEPREFIX:-$build/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# Whether the 32-bit programs can run here: the kernel must run 32-bit
# programs (some have no IA-32 emulation) and the 32-bit Wine must be
# installed. Where they cannot, ORVEX_NO_32BIT_REASON says why, and 64-bit
# programs go to the 64-bit loader directly: Debian's wine wrapper would pick
# the 32-bit loader whenever it is installed.
if [ -z "${ORVEX_HOST_32BIT:-}" ]; then
  ORVEX_HOST_32BIT=1 ORVEX_NO_32BIT_REASON=""
  if ! host_runs_32bit; then
    ORVEX_HOST_32BIT=0
    ORVEX_NO_32BIT_REASON="this machine's kernel runs no 32-bit programs"
  elif ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    ORVEX_HOST_32BIT=0
    ORVEX_NO_32BIT_REASON="the 32-bit Wine (wine32:i386) is not installed: tools/setup.sh says why"
  fi
  export ORVEX_HOST_32BIT ORVEX_NO_32BIT_REASON
fi
if [ "$ORVEX_HOST_32BIT" = 0 ]; then
  case ":$PATH:" in *":$here/tools/wine64-only:"*) ;; *) export PATH="$here/tools/wine64-only:$PATH" ;; esac
fi
# The main (32-bit) build folder, which builds the 64-bit one inside it:
# card, library and their tests from the same sources.
main_build="$build"
build64="$main_build/x64"
# Builds use every core unless told otherwise.
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

# The card this host can run: the 32-bit one where it runs, else the 64-bit one.
# Prints the build folder that holds it.
runnable_build() {
  if [ "$ORVEX_HOST_32BIT" = 1 ]; then echo "$main_build"; else echo "$build64"; fi
}

# For the scripts that run the card or a benchmark by hand: switches to the
# build this host can run, and says which on standard error.
use_runnable_build() {
  use_build "$(runnable_build)"
  if [ "$ORVEX_ARCH" = x64 ]; then
    echo "$(basename "$0"): the 64-bit build ($build): $ORVEX_NO_32BIT_REASON" >&2
  else
    echo "$(basename "$0"): the 32-bit build ($build)" >&2
  fi
}

# Switches this shell to build folder $1 (the main one or build/x64): its
# architecture, its own Wine prefix ($1/wine) and the paths derived from them.
use_build() {
  build=$1
  ORVEX_BUILD_DIR=$1
  ORVEX_ARCH=$(build_arch "$1")
  if [ "$1" = "$build64" ]; then ORVEX_ARCH=x64; fi
  if [ "$ORVEX_ARCH" = x64 ]; then WINEARCH=win64; else WINEARCH=win32; fi
  WINEPREFIX="$1/wine"
  export ORVEX_BUILD_DIR ORVEX_ARCH WINEARCH WINEPREFIX
  user_prefix="${ORVEX_USER_PREFIX:-$build/wine-user}"
}

# Configures (once) and builds everything: the 32-bit build into $build and
# the 64-bit one (card, library and tests from the same sources) into $build/x64.
build_all() {
  # The 32-bit tests only where they can run.
  local tests32=ON
  if [ "$ORVEX_HOST_32BIT" != 1 ]; then tests32=OFF; fi
  if [ ! -f "$main_build/build.ninja" ] ||
     ! grep -qx "ORVEX_BUILD_32BIT_TESTS:BOOL=$tests32" "$main_build/CMakeCache.txt"; then
    cmake -S "$here" -B "$main_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" \
      -DORVEX_DEPS_DIR="$deps" -DORVEX_BUILD_32BIT_TESTS=$tests32 >/dev/null
  fi
  cmake --build "$main_build"
  cmake --build "$main_build" --target orvex_x64
}

# The release files under $build/dist (the `dist` target): the stripped 32-
# and 64-bit cards, the SDK with the 32- and 64-bit Orvex.dll, and their archives.
build_release() {
  build_all
  cmake --build "$main_build" --target dist
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
