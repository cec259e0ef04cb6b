#!/usr/bin/env bash
# The card on other screens (card_screen_tests.exe), each in a copy of the
# project's Wine prefix on an Xvfb of its own:
#   - 192 DPI (Wine's LogPixels) on a 3840 x 2160 screen: CardAtHighDpi.*
#   - 144 DPI on a 1920 x 1080 screen: CardAtHighDpi.* again
#   - 96 DPI on an 800 x 600 screen: CardOnSmallScreen.*
#   screens_run.sh <card_screen_tests.exe> <build folder>
set -euo pipefail
exe=$1
ORVEX_BUILD_DIR=$(cd "$2" && pwd)
export ORVEX_BUILD_DIR
here=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"

use_prefix_copy screens

# The DPI Wine reports to DPI-aware programs; read when the prefix's
# Wine server starts, so set it with no program running.
set_dpi() {
  wineserver -k 2>/dev/null || true
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -w
}

rc=0
for run in "192 3840x2160x24 CardAtHighDpi" "144 1920x1080x24 CardAtHighDpi" \
  "96 800x600x24 CardOnSmallScreen"; do
  read -r dpi screen suite <<<"$run"
  echo "screens: $suite at $dpi DPI on $screen"
  start_own_xvfb 96 "$screen"
  set_dpi "$dpi"
  wine "$exe" --gtest_color=no --gtest_filter="$suite.*" || rc=1
  wineserver -k 2>/dev/null || true
  stop_own_xvfb
done
exit "$rc"
