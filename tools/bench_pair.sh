#!/usr/bin/env bash
# Runs two builds of one benchmark in turns on one display, so that both see
# the same machine and load, in the prefix of the build this host runs: tools/bench_pair.sh <before.exe> <after.exe>
# [rounds] [benchmark arguments...]. Each run's output goes to
# build/bench-pair/<before|after>-<round>.txt; the load is printed per run.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
before=$(realpath "${1:?usage: tools/bench_pair.sh <before.exe> <after.exe> [rounds] [args...]}")
after=$(realpath "${2:?usage: tools/bench_pair.sh <before.exe> <after.exe> [rounds] [args...]}")
rounds=${3:-3}
shift $(($# < 3 ? $# : 3))
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"
use_runnable_build
use_wine_and_display
out="$build/bench-pair"
mkdir -p "$out"
cd "$(dirname "$after")"
for round in $(seq 1 "$rounds"); do
  for which in before after; do
    exe=$before
    [ "$which" = after ] && exe=$after
    echo "round $round, $which: load $(cut -d' ' -f1-3 /proc/loadavg)"
    wine "$exe" "$@" >"$out/$which-$round.txt" 2>&1 || echo "  $which ended with $?"
  done
done
echo "outputs in $out"
