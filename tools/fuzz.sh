#!/usr/bin/env bash
# Builds the native fuzzers (fuzz/) and runs each for a while.
#   tools/fuzz.sh [seconds per fuzzer]     (default 15: about a minute in all)
# New inputs go to build/fuzz/corpus/<fuzzer>, which later runs start from;
# a crash leaves its input in build/fuzz/crash-* and makes the script fail.
# Needs no Wine: clang 14 with libFuzzer and the sanitizers, the native libjpeg.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-${ORVEX_FUZZ_SECONDS:-15}}
out="${ORVEX_BUILD_DIR:-$here/build}/fuzz"
mkdir -p "$out"

if [ ! -f "$out/build.ninja" ]; then
  cmake -S "$here/fuzz" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
fi
cmake --build "$out" >"$out/build.log" 2>&1 || { cat "$out/build.log"; exit 1; }

# fuzzer, seed directories, extra options
run() {
  local name=$1 seeds=$2
  shift 2
  local corpus="$out/corpus/$name"
  mkdir -p "$corpus"
  local log="$out/$name.log"
  local seeddirs=()
  for s in $seeds; do seeddirs+=("$here/$s"); done
  if ! (cd "$out" && "./$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
          -print_final_stats=1 "$@" "$corpus" "${seeddirs[@]}") >"$log" 2>&1; then
    echo "fuzz: $name FAILED (see $log)"
    grep -E "ERROR|SUMMARY|check failed|crash-" "$log" | head -20
    return 1
  fi
  local execs
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  echo "fuzz: $name ok, ${execs:-?} executions in ${seconds} s, corpus $(ls "$corpus" | wc -l) inputs"
}

rc=0
run fuzz_card_block "fuzz/seeds/card_block" -max_len=4096 || rc=1
run fuzz_ini_integer "fuzz/seeds/ini_integer" -max_len=64 || rc=1
run fuzz_bmp "resources" -max_len=16384 || rc=1
run fuzz_jpeg "fuzz/seeds/jpeg" -max_len=4096 || rc=1
exit $rc
