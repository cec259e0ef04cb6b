#!/usr/bin/env bash
# nasm as the libjpeg build calls it, with the source file named relative to
# the folder nasm runs in. nasm writes the path it is given into the object's
# symbol table (.file); CMake gives absolute paths, which would put the build
# machine's folders into the libraries and into the symbols we ship.
set -euo pipefail
args=("$@")
last=$((${#args[@]} - 1))
if [ "$last" -ge 0 ] && [ -f "${args[$last]}" ]; then
  args[last]=$(realpath --relative-to=. "${args[$last]}")
fi
exec nasm "${args[@]}"
