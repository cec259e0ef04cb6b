#!/usr/bin/env bash
# Installs what is missing, builds both cards and the library, writes the
# release files under build/dist and runs every test under Wine: the 32-bit
# build's suite in a 32-bit prefix where this host runs 32-bit programs, and
# the 64-bit build's (build/x64: the same card, library and tests) in a 64-bit
# prefix on every host.
# Exits non-zero when a test fails; the suites' summaries are printed last.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/tools/setup.sh"
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"
# shellcheck source=tools/desktop.sh
. "$here/tools/desktop.sh"

build_release
# The release built again in a second folder must give the same archives
# (tools/check_reproducible.sh): on every full run; ORVEX_REPRO_CHECK=0
# leaves it out.
repro_rc=0
if [ "$#" = 0 ] && [ "${ORVEX_REPRO_CHECK:-1}" != 0 ]; then
  bash "$here/tools/check_reproducible.sh" || repro_rc=$?
fi
# The native fuzzers of the parsers: a short round (no Wine needed) on every
# full run; a run of a subset (./test.sh -R ...) leaves it out.
# ORVEX_FUZZ_SECONDS sets the time per fuzzer; 0 skips the round.
fuzz_rc=0
if [ "$#" = 0 ] && [ "${ORVEX_FUZZ_SECONDS:-15}" != 0 ]; then
  bash "$here/tools/fuzz.sh" || fuzz_rc=$?
fi

# The suites this host runs: "<name> <build folder>" each.
suites=()
if [ "$ORVEX_HOST_32BIT" = 1 ]; then suites+=("32-bit $build"); fi
suites+=("64-bit $build64")

# Each build's prefix, and the stock prefix its desktop runs copy, made before
# they start side by side.
for suite in "${suites[@]}"; do
  (use_build "${suite#* }" && init_wine_prefix && init_user_prefix)
done

# A small file system for the test that saves a card onto a full disk. Only
# root may mount one; without it that test is skipped.
full_disk_mounted=""
full_disk="$build/fulldisk"
mkdir -p "$full_disk"
if mountpoint -q "$full_disk" ||
   { [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=256k tmpfs "$full_disk" 2>/dev/null && full_disk_mounted=1; }; then
  ORVEX_FULL_DISK_DIR="Z:$(printf '%s' "$full_disk" | tr / '\\')"
  export ORVEX_FULL_DISK_DIR
fi

cleanup() {
  for suite in "${suites[@]}"; do
    (use_build "${suite#* }" && wineserver -k 2>/dev/null) || true
  done
  stop_own_xvfb
  if [ -n "$full_disk_mounted" ]; then umount "$full_disk" 2>/dev/null || true; fi
}
trap cleanup EXIT
if ! display_works; then start_own_xvfb; fi

# One suite after the other, each on the shared display. Within a suite, tests
# on that display take turns; the runs on displays of their own, which mostly
# wait for the scene in real time, go beside them.
jobs=${ORVEX_TEST_JOBS:-4}
# A full run must find tests; a subset may match none in one of the suites.
no_tests=ignore
if [ "$#" = 0 ]; then no_tests=error; fi
rc=0
for suite in "${suites[@]}"; do
  name=${suite%% *} dir=${suite#* }
  set +e
  (
    use_build "$dir"
    # A persistent Wine server saves its start-up on every test program. Its
    # helper processes start now, not inside a test whose output pipe they would hold.
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1 </dev/null
    ctest --test-dir "$dir" -j "$jobs" --output-on-failure --no-tests="$no_tests" "$@"
  ) >"$dir/ctest.log" 2>&1
  suite_rc=$?
  set -e
  if [ "$suite_rc" != 0 ]; then rc=$suite_rc; fi
done

# The whole logs, then each suite's summary as the last lines: its tests by
# program, and ctest's own closing lines.
for suite in "${suites[@]}"; do sed '/tests passed,/,$d' "${suite#* }/ctest.log"; done
# Counts the tests of a ctest log by the program (or script) they belong to.
tests_by_group() {
  sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ .]*\)[^ ]* \.*\** *\([A-Za-z*]*\).*/\1 \2/p' "$1" |
    awk '{ n[$1]++; if ($2 != "Passed") f[$1]++ }
         END { for (g in n) printf "  %-26s %3d tests%s\n", g, n[g], (f[g] ? ", " f[g] " failed" : "") }' |
    sort
}
if [ "$ORVEX_HOST_32BIT" != 1 ]; then
  # Not built here; it holds the same tests as the 64-bit suite.
  count=$(ctest --test-dir "$build64" -N 2>/dev/null | sed -n 's/^Total Tests: //p')
  echo "32-bit suite ($build, ${count:-?} tests): NOT RUN: $ORVEX_NO_32BIT_REASON"
fi
for suite in "${suites[@]}"; do
  name=${suite%% *} dir=${suite#* }
  echo "$name suite ($dir):"
  tests_by_group "$dir/ctest.log"
  sed -n '/tests passed,/,$p' "$dir/ctest.log"
done
if [ "$fuzz_rc" != 0 ]; then echo "test.sh: a fuzzer failed"; exit 1; fi
if [ "$repro_rc" != 0 ]; then echo "test.sh: the release is not reproducible"; exit 1; fi
exit $rc
