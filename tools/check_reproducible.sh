#!/usr/bin/env bash
# Builds the release a second time, in a second build folder, and compares
# the archives byte for byte with those of the project's build: the card's
# zip, the SDK's zip and the symbols' zip must be equal. The second folder
# (ORVEX_REPRO_BUILD_DIR, default build/reproducible) lies at another path of
# another length, so a path of either folder that gets into a file shows.
# It builds only what ships (the card, the 32- and 64-bit Orvex.dll, the
# `dist` target) and is kept, so a later run is incremental.
# On a difference it names the archive entries that differ; exit code 1.
# It also fails when a file in an archive holds the path of the source or
# a build folder (the symbols of a library built from absolute paths).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/env.sh
. "$here/tools/env.sh"
second="${ORVEX_REPRO_BUILD_DIR:-$build/reproducible}"

if [ ! -f "$build/build.ninja" ]; then
  echo "check_reproducible: $build is not configured: run ./test.sh or ./run.sh first" >&2
  exit 2
fi
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
if [ ! -f "$second/build.ninja" ]; then
  cmake -S "$here" -B "$second" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE="$build_type" -DORVEX_DEPS_DIR="$deps" -DORVEX_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target dist >/dev/null
cmake --build "$second" --target dist >"$second/dist.log" 2>&1 || {
  cat "$second/dist.log"
  exit 1
}

# Lists the entries of the two archives $1 and $2 that differ, by content
# or as entries (name, time, mode, order).
explain() {
  local tmp
  tmp=$(mktemp -d)
  mkdir "$tmp/a" "$tmp/b"
  (cd "$tmp/a" && unzip -q "$1") && (cd "$tmp/b" && unzip -q "$2")
  (cd "$tmp/a" && find . -type f | sort) >"$tmp/a.list"
  (cd "$tmp/b" && find . -type f | sort) >"$tmp/b.list"
  comm -3 "$tmp/a.list" "$tmp/b.list" | sed 's/^\t*/  only in one: /'
  comm -12 "$tmp/a.list" "$tmp/b.list" | while read -r f; do
    cmp -s "$tmp/a/$f" "$tmp/b/$f" || echo "  content differs: ${f#./}"
  done
  if diff <(zipinfo -T -l "$1" | sed 1d) <(zipinfo -T -l "$2" | sed 1d) >"$tmp/info.diff"; then :; else
    echo "  entries differ (name, size, time, mode or order):"
    grep '^[<>]' "$tmp/info.diff" | head -20 | sed 's/^/    /'
  fi
  rm -rf "$tmp"
}

status=0
count=0
for a in "$build"/dist/*.zip; do
  name=$(basename "$a")
  b="$second/dist/$name"
  count=$((count + 1))
  if [ ! -f "$b" ]; then
    echo "check_reproducible: $name: missing in $second/dist"
    status=1
  elif cmp -s "$a" "$b"; then
    echo "check_reproducible: $name: identical ($(stat -c %s "$a") bytes)"
  else
    echo "check_reproducible: $name: DIFFERS"
    explain "$a" "$b"
    status=1
  fi
done
# Absolute folder paths of this machine in what ships. A COFF symbol table
# keeps file names in records of 18 characters, so a path's first 18
# characters count as well.
paths=()
for p in "$here" "$build" "$deps" "$second"; do paths+=("$p" "${p:0:18}"); done
for a in "$build"/dist/*.zip; do
  tmp=$(mktemp -d)
  (cd "$tmp" && unzip -q "$a")
  while IFS= read -r p; do
    { grep -rlF -- "$p" "$tmp" || true; } | while read -r f; do
      echo "check_reproducible: $(basename "$a"): ${f#"$tmp"/} holds the path $p"
    done
  done < <(printf '%s\n' "${paths[@]}" | sort -u) >"$tmp.found"
  if [ -s "$tmp.found" ]; then
    cat "$tmp.found"
    status=1
  fi
  rm -rf "$tmp" "$tmp.found"
done

if [ "$count" -lt 3 ]; then
  echo "check_reproducible: expected three archives in $build/dist, found $count"
  status=1
fi
exit "$status"
