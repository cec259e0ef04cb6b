#!/usr/bin/env bash
# Installs what is missing, builds, writes the release files under build/dist
# and runs every test under Wine: the 32-bit build's, then the 64-bit
# library's (build/x64) in a 64-bit Wine prefix.
# Exits non-zero when a test fails; ctest's summaries are printed last.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/tools/setup.sh"
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"

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
if [ "$ORVEX_HOST_32BIT" = 1 ]; then
  init_wine_prefix
  # The stock prefix the desktop runs copy, made before they start side by side.
  # shellcheck source=tools/desktop.sh
  . "$here/tools/desktop.sh"
  init_user_prefix
fi
with_wine64 init_wine_prefix

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
  wineserver -k 2>/dev/null || true
  with_wine64 wineserver -k 2>/dev/null || true
  stop_own_xvfb
  if [ -n "$full_disk_mounted" ]; then umount "$full_disk" 2>/dev/null || true; fi
}
trap cleanup EXIT
if ! display_works; then start_own_xvfb; fi
# A persistent Wine server saves its start-up on every test program.
# Its helper processes start now, not inside a test whose output pipe they would hold.
if [ "$ORVEX_HOST_32BIT" = 1 ]; then
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
fi
with_wine64 wineserver -p
with_wine64 wine cmd /c exit >/dev/null 2>&1 </dev/null || true

# The 32-bit build (card, library, SDK), then the 64-bit library's build.
# Tests on the shared display take turns; the runs on displays of their own,
# which mostly wait for the scene in real time, go beside them.
jobs=${ORVEX_TEST_JOBS:-4}
set +e
if [ "$ORVEX_HOST_32BIT" = 1 ]; then
  ctest --test-dir "$build" -j "$jobs" --output-on-failure "$@" >"$build/ctest.log" 2>&1
  rc=$?
else
  echo "NOT RUN: this machine's kernel runs no 32-bit programs (the 32-bit Wine cannot" \
    "start), so the card's and the 32-bit library's tests cannot run here." >"$build/ctest.log"
  rc=0
fi
# A full run must find the 64-bit tests; a subset may match none of them.
no_tests=ignore
if [ "$#" = 0 ]; then no_tests=error; fi
with_wine64 ctest --test-dir "$build/x64" -j "$jobs" --output-on-failure --no-tests="$no_tests" "$@" \
  >"$build/ctest-x64.log" 2>&1
rc64=$?
set -e
# The whole logs, then the summaries again as the last lines.
for log in "$build/ctest.log" "$build/ctest-x64.log"; do sed '/tests passed,/,$d' "$log"; done
echo "32-bit:"
if [ "$ORVEX_HOST_32BIT" = 1 ]; then sed -n '/tests passed,/,$p' "$build/ctest.log"; else cat "$build/ctest.log"; fi
echo "64-bit (build/x64):"
sed -n '/tests passed,/,$p' "$build/ctest-x64.log"
if [ "$fuzz_rc" != 0 ]; then echo "test.sh: a fuzzer failed"; exit 1; fi
if [ "$repro_rc" != 0 ]; then echo "test.sh: the release is not reproducible"; exit 1; fi
if [ "$rc" != 0 ]; then exit $rc; fi
exit $rc64
