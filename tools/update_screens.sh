#!/usr/bin/env bash
# Takes the screenshots that the end-to-end tests save in <build>/bin/screens/
# (the build this host runs)
# into the project: PNG pictures under docs/ for the README, and the scene at
# the end of its timeline as the about window's 512 x 384 baseline JPEG.
# Run ./test.sh -R 'card_e2e|card_screens' first.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"
use_runnable_build
screens="$build/bin/screens"
mkdir -p "$here/docs"
for name in scene-05s scene-65s scene-88s letter-own-card; do
  if [ -f "$screens/$name.bmp" ]; then
    convert "$screens/$name.bmp" -strip "$here/docs/$name.png"
    echo "docs/$name.png"
  fi
done
# The card at 192 DPI on a 3840 x 2160 screen (tests/card/screens_run.sh).
if [ -f "$screens/scene-88s-192dpi.bmp" ]; then
  convert "$screens/scene-88s-192dpi.bmp" -strip "$here/docs/scene-192dpi.png"
  echo "docs/scene-192dpi.png"
fi
if [ -f "$screens/scene-88s.bmp" ]; then
  convert "$screens/scene-88s.bmp" -resize '512x384!' ppm:- |
    cjpeg -quality 88 -baseline >"$here/resources/screenview.jpg"
  echo "resources/screenview.jpg"
fi
