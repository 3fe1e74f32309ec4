#!/usr/bin/env bash
# Configures and builds one build tree: build/ (default) or build-asan/
# (ASan + UBSan) when called with "asan".
set -euo pipefail
cd "$(dirname "$0")/.."

kind=${1:-default}
if [[ $kind == asan ]]; then
  dir=build-asan
  flags=(-DZV_SANITIZE=ON -DZV_WINDOWS_CROSS=OFF -DCMAKE_BUILD_TYPE=Debug)
else
  dir=build
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
