#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine.
# Exits non-zero when a test fails; ctest's summary is printed last.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/tools/setup.sh"
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"

build_all
init_wine_prefix

cleanup() {
  wineserver -k 2>/dev/null || true
  stop_own_xvfb
}
trap cleanup EXIT
if ! display_works; then start_own_xvfb; fi
# A persistent Wine server saves its start-up on every test program.
# Its helper processes start now, not inside a test whose output pipe they would hold.
wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null || true

set +e
ctest --test-dir "$build" --output-on-failure "$@" >"$build/ctest.log" 2>&1
rc=$?
set -e
# The whole log, then the summary again as the last lines.
sed '/tests passed,/,$d' "$build/ctest.log"
sed -n '/tests passed,/,$p' "$build/ctest.log"
exit $rc
