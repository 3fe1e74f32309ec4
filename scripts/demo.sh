#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo: the Java host library
# driving a browser on the engine against pages served on loopback.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh default
version=$(sed -n 's/^ZV_SUBP_VERSION:STRING=//p' build/CMakeCache.txt)
exec java -Djava.library.path="$PWD/build/bin" \
  -cp build/java/zv_java_host.jar:build/java/zv_java_browser.jar:build/java/zv_java_demo.jar \
  org.tessal.vemo.demo.Demo "$PWD/build/engine" "$version"
