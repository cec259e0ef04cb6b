#!/usr/bin/env bash
# Cards written in other scripts read under another code page
# (card_codepage_tests.exe), in a copy of the project's Wine prefix on an Xvfb
# of its own. Wine takes the ANSI code page from LANG, per process:
#   - written under pl_PL (1250), read under de_DE (1252);
#   - written under ja_JP (932), read under pl_PL (1250).
#   codepages_run.sh <card_codepage_tests.exe> <build folder>
set -euo pipefail
exe=$1
ORVEX_BUILD_DIR=$(cd "$2" && pwd)
export ORVEX_BUILD_DIR
here=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"

use_prefix_copy codepages
start_own_xvfb 97
cards="$build/codepage-cards"
mkdir -p "$cards"
ORVEX_CODEPAGE_CARDS="Z:$(printf '%s' "$cards" | tr / '\\')"
export ORVEX_CODEPAGE_CARDS

rc=0
phase() { # phase <gtest name> <LANG> <code page>
  echo "codepages: $1 under $2 (code page $3)"
  LANG=$2 LC_ALL=$2 ORVEX_CODEPAGE_EXPECT=$3 wine "$exe" --gtest_color=no \
    --gtest_filter="CardCodePages.$1" || rc=1
}
for run in "pl_PL.UTF-8 1250 de_DE.UTF-8 1252" "ja_JP.UTF-8 932 pl_PL.UTF-8 1250"; do
  read -r write_lang write_cp read_lang read_cp <<<"$run"
  rm -f "$cards"/card-*.exe
  phase Write "$write_lang" "$write_cp"
  phase Read "$read_lang" "$read_cp"
done
exit "$rc"
