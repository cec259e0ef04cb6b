#!/usr/bin/env bash
# Builds the card and starts it under Wine. Without an X display it runs on its
# own Xvfb and saves a screenshot every few seconds under build/screens/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/tools/setup.sh"
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"

build_all
init_wine_prefix

if display_works; then
  exec wine "$build/bin/Frostvale-Karte.exe"
fi

screens="$build/screens"
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
