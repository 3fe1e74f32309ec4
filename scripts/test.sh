#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through
# CTest: first the normal build (with the Windows cross build and its export
# checks), then the ASan + UBSan build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh default
(cd build && ctest --output-on-failure -j "$(nproc)")
scripts/build.sh asan
(cd build-asan && ctest --output-on-failure -j "$(nproc)")
