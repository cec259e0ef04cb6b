#!/usr/bin/env bash
# Builds and runs one benchmark under Wine, on its own Xvfb when there is no
# display, from the build this host runs (32-bit where it can, else 64-bit):
# ./bench.sh overlay_scale_bench
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
name=${1:?usage: ./bench.sh <benchmark> (overlay_scale_bench, overlay_rebuild_bench, bench_shapes, picture_region_bench)}
bash "$here/tools/setup.sh"
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"

build_all >/dev/null
use_runnable_build
use_wine_and_display
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
cd "$build/bin"
shift; wine "./$name.exe" "$@"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
