#!/usr/bin/env bash
# The monitor tests (desktop_tests.exe, MonitorsTest.*) on one 2048 x 768
# Xvfb that Wine sees as two 1024 x 768 monitors: first with the primary
# monitor on the left, then on the right (the virtual desktop then starts at
# x = -1024). Wine takes the heads from a stand-in libXinerama.so.1
# (fake_xinerama.c) in a copy of the project's prefix that does not ask RandR.
#   monitors_run.sh <desktop_tests.exe> <build folder>
set -euo pipefail
exe=$1
ORVEX_BUILD_DIR=$(cd "$2" && pwd)
export ORVEX_BUILD_DIR
here=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"

lib="$build/fake-xinerama"
src="$here/tests/desktop/fake_xinerama.c"
if [ ! -f "$lib/libXinerama.so.1" ] || [ "$src" -nt "$lib/libXinerama.so.1" ]; then
  mkdir -p "$lib"
  # Wine loads it, so it is built for Wine's architecture.
  bits=-m32
  if [ "$ORVEX_ARCH" = x64 ]; then bits=-m64; fi
  gcc "$bits" -shared -fPIC -O2 -Wall -Wextra -o "$lib/libXinerama.so.1" "$src"
fi

# Wine asks RandR for the monitors first; this prefix copy must not.
without_randr() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1
}
use_prefix_copy monitors without_randr

rc=0
for heads in "1024x768+0+0,1024x768+1024+0" "1024x768+1024+0,1024x768+0+0"; do
  echo "monitors: $heads (the first is the primary)"
  start_own_xvfb 95 2048x768x24
  xsetroot -solid steelblue
  ORVEX_HEADS=$heads ORVEX_EXPECT_MONITORS=2 LD_LIBRARY_PATH="$lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
    wine "$exe" --gtest_color=no --gtest_filter='MonitorsTest.*' || rc=1
  wineserver -k 2>/dev/null || true
  stop_own_xvfb
done
exit "$rc"
