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
start_own_xvfb
card_pid=""
cleanup() {
  [ -n "$card_pid" ] && kill "$card_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  stop_own_xvfb
}
trap cleanup EXIT INT TERM
echo "run: no display; running on Xvfb $DISPLAY, screenshots every 5 s in $screens (Ctrl+C ends)"
wine "$build/bin/Frostvale-Karte.exe" &
card_pid=$!
start=$(date +%s)
while kill -0 "$card_pid" 2>/dev/null; do
  sleep 5
  t=$(( $(date +%s) - start ))
  import -window root "$screens/scene-$(printf '%03d' "$t")s.png" 2>/dev/null || true
done
wait "$card_pid" || true
