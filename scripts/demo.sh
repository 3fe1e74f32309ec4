#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh default
build/bin/zv_demo "$PWD/build/engine"
