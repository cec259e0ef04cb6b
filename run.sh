#!/usr/bin/env bash
# Builds both cards and starts the one this host can run under Wine: the
# 32-bit card where 32-bit programs run, else the 64-bit one. Without an X
# display it runs on its own Xvfb and saves a screenshot every few seconds
# under build/screens/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/tools/setup.sh"
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"

build_all
screens="$build/screens"
use_build "$(runnable_build)"
init_wine_prefix
card="$build/bin/Frostvale-Karte.exe"
if [ "$ORVEX_ARCH" = x64 ]; then
  echo "run: starting the 64-bit card ($card): $ORVEX_NO_32BIT_REASON"
else
  echo "run: starting the 32-bit card ($card)"
fi

if display_works; then
  exec wine "$card"
fi

mkdir -p "$screens"
start_card_on_own_display
echo "run: no display; running on Xvfb $DISPLAY, screenshots every 5 s in $screens (Ctrl+C ends)"
start=$(date +%s)
while kill -0 "$CARD_PID" 2>/dev/null; do
  sleep 5
  t=$(( $(date +%s) - start ))
  import -window root "$screens/scene-$(printf '%03d' "$t")s.png" 2>/dev/null || true
done
wait "$CARD_PID" || true
