#!/usr/bin/env bash
# Installs what the build and the tests need and is not there yet.
# Safe to run again: with everything present it only checks and returns.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=tools/host.sh
. "$here/tools/host.sh"
deps="${ORVEX_DEPS_DIR:-$here/build/deps}"
mkdir -p "$deps"

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Refreshes the package indexes, a few times when a mirror is in the middle of
# a sync. An index that still fails is only a warning when it is one this host
# does not need (the i386 ones where the 32-bit Wine is not wanted or cannot
# be had); any other failure ends the set-up.
apt_updated=0
apt_update() {
  if [ "$apt_updated" = 1 ]; then return 0; fi
  local log try failed
  log=$(mktemp)
  for try in 1 2 3; do
    if as_root apt-get update -qq >"$log" 2>&1; then
      apt_updated=1
      rm -f "$log"
      return 0
    fi
    if [ "$try" -lt 3 ]; then sleep $((try * 5)); fi
  done
  # Which indexes failed: going on is safe when all of them are i386 ones.
  failed=$(grep -o 'Failed to fetch [^ ]*' "$log" | sed 's/^Failed to fetch //' || true)
  if [ -n "$failed" ] && ! grep -qv 'binary-i386' <<<"$failed"; then
    echo "setup: the i386 package index could not be refreshed" \
      "($(grep -m1 -o 'File has unexpected size[^?]*?\|[0-9][0-9][0-9]  *[A-Z][A-Za-z ]*' "$log" || echo 'see apt-get update'));" \
      "going on without it"
    apt_updated=1
    rm -f "$log"
    return 0
  fi
  cat "$log" >&2
  rm -f "$log"
  echo "setup: apt-get update failed three times" >&2
  return 1
}
apt_install() {
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "$@"
}

# Whether this kernel runs 32-bit programs is decided by running one, before
# anything 32-bit is asked of the package manager.
host32=0
if host_runs_32bit; then host32=1; fi

need_pkgs=()
for p in g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix \
         g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 \
         lld-14 lld llvm-14 make python3 unzip xvfb xauth xdotool imagemagick cmake ninja-build googletest nasm \
         libjpeg-turbo-progs fonts-liberation fonts-dancingscript dpkg-dev \
         clang-14 libclang-rt-14-dev libjpeg62-turbo-dev \
         openbox x11-utils x11-xserver-utils xtrace picom libx11-dev \
         mutter xfwm4 kwin-x11 libgl1-mesa-dri dbus; do
  have_pkg "$p" || need_pkgs+=("$p")
done
# The 32-bit stand-in of libXinerama for the two-monitor test of the 32-bit card.
if [ "$host32" = 1 ] && ! have_pkg gcc-multilib; then need_pkgs+=(gcc-multilib); fi

if [ "${#need_pkgs[@]}" -gt 0 ]; then
  echo "setup: installing ${need_pkgs[*]}"
  apt_update
  apt_install "${need_pkgs[@]}"
fi

# The 32-bit Wine, where this host can run it: its own step, since it needs the
# i386 architecture and its package index. Without it the 64-bit card's suite
# still runs; the test command says that the 32-bit one did not.
if [ "$host32" = 0 ]; then
  echo "setup: this machine's kernel runs no 32-bit programs: no i386 packages, the 64-bit card's suite only"
elif ! have_pkg wine32:i386; then
  # A failed try is remembered for half a day, so warm runs do not wait on a
  # broken mirror each time.
  tried="$deps/.wine32-not-installable"
  if [ -n "$(find "$tried" -mmin -720 2>/dev/null)" ]; then
    echo "setup: the 32-bit Wine could not be installed ($(cat "$tried")); going on with the 64-bit card's suite"
  else
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      as_root dpkg --add-architecture i386
      apt_updated=0
    fi
    apt_update
    log=$(mktemp)
    if apt_install wine32:i386 >"$log" 2>&1; then
      echo "setup: installed the 32-bit Wine (wine32:i386)"
      rm -f "$tried"
    else
      (grep -m1 '^E:' "$log" || echo 'E: its i386 packages are not to be had') | cut -c4-160 >"$tried"
      echo "setup: the 32-bit Wine (wine32:i386) could not be installed ($(cat "$tried"));" \
        "going on with the 64-bit card's suite"
    fi
    rm -f "$log"
  fi
fi

# Source packages need a deb-src entry. Derive it from the machine's own apt
# sources (Types: deb -> deb-src), so no mirror address lives in the project.
ensure_deb_src() {
  if apt-get indextargets 2>/dev/null | grep -q 'Created-By: Sources'; then return; fi
  local src=/etc/apt/sources.list.d/debian.sources
  local dst=/etc/apt/sources.list.d/project-deb-src.sources
  if [ -f "$src" ]; then
    sed 's/^Types: deb$/Types: deb-src/' "$src" | as_root tee "$dst" >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      as_root tee /etc/apt/sources.list.d/project-deb-src.list >/dev/null
  fi
  apt_updated=0
  apt_update
}

# Unpacks Debian's source package $1 into $deps/$1-src (once).
fetch_source() {
  local pkg=$1
  if [ -d "$deps/$pkg-src" ]; then return; fi
  ensure_deb_src
  local tmp
  tmp=$(mktemp -d "$deps/.fetch-$pkg.XXXX")
  (cd "$tmp" && apt-get source -qq "$pkg" >/dev/null 2>&1) || { echo "setup: apt-get source $pkg failed"; exit 1; }
  local dir
  dir=$(find "$tmp" -mindepth 1 -maxdepth 1 -type d | head -n 1)
  mv "$dir" "$deps/$pkg-src"
  rm -rf "$tmp"
}

# True when $deps/$1 was built with the options $2.
built_with() {
  [ -f "$deps/$1/.done" ] && [ "$(cat "$deps/$1/.done")" = "$2" ]
}

# Cross-builds a CMake source tree with the toolchain file $3 into $deps/$1
# (rebuilt only when missing or built with other options).
cross_build() {
  local name=$1 srcdir=$2 toolchain=$3
  shift 3
  if built_with "$name" "$*"; then return; fi
  echo "setup: building $name ($(basename "$toolchain" .cmake))"
  rm -rf "$deps/$name" "$deps/$name-build"
  mkdir -p "$(dirname "$deps/$name")"
  cmake -S "$srcdir" -B "$deps/$name-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$deps/$name" "$@" >"$deps/$name.log" 2>&1 ||
    { cat "$deps/$name.log"; exit 1; }
  cmake --build "$deps/$name-build" --target install >>"$deps/$name.log" 2>&1 ||
    { tail -50 "$deps/$name.log"; exit 1; }
  rm -rf "$deps/$name-build"
  echo "$*" >"$deps/$name/.done"
}

# The 32-bit build of everything lives in $deps/<name>; the 64-bit Orvex.dll
# and its tests use $deps/x64/<name>.
for arch in i686 x86_64; do
  sub=""
  if [ "$arch" = x86_64 ]; then sub="x64/"; fi
  toolchain="$here/cmake/mingw-$arch.cmake"
  # The cards must stay within 1 MiB: they link a libjpeg without the SIMD
  # code (about 85 KB in the 64-bit card), which would only speed up the
  # decoding of the about window's small picture. The 32-bit build has only
  # that one; the 64-bit Orvex.dll and the rest of the 64-bit build link the
  # SIMD build, libjpeg-turbo-plain is the 64-bit cards'.
  for variant in libjpeg-turbo libjpeg-turbo-plain; do
    simd=OFF
    if [ "$arch" = x86_64 ] && [ "$variant" = libjpeg-turbo ]; then simd=ON; fi
    if [ "$arch" = i686 ] && [ "$variant" = libjpeg-turbo-plain ]; then continue; fi
    # nasm through tools/nasm_relative.sh: no absolute path in its objects.
    jpeg_options=(-DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=$simd
                  -DCMAKE_ASM_NASM_COMPILER="$here/tools/nasm_relative.sh")
    if ! built_with "$sub$variant" "${jpeg_options[*]}"; then
      fetch_source libjpeg-turbo
      cross_build "$sub$variant" "$deps/libjpeg-turbo-src" "$toolchain" "${jpeg_options[@]}"
    fi
  done
  gtest_options=(-DBUILD_GMOCK=ON -Dgtest_disable_pthreads=OFF)
  if ! built_with "${sub}googletest" "${gtest_options[*]}"; then
    fetch_source googletest
    cross_build "${sub}googletest" "$deps/googletest-src" "$toolchain" "${gtest_options[@]}"
  fi
done
