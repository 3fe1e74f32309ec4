#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo: the Java host library
# driving a browser on the engine against pages served on loopback.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh default
if [[ ! -f build/java/zv_java_demo.jar ]]; then
  # The Java demo needs the JNI bridge's ZorvanLib; until then the C++ host shows the engine.
  echo "demo.sh: the Java host library is not built yet; running the C++ demo host" >&2
  exec build/bin/zv_demo "$PWD/build/engine"
fi
version=$(sed -n 's/^ZV_SUBP_VERSION:STRING=//p' build/CMakeCache.txt)
exec java -Djava.library.path="$PWD/build/bin" \
  -cp build/java/zv_java_host.jar:build/java/zv_java_browser.jar:build/java/zv_java_demo.jar \
  org.tessal.vemo.demo.Demo "$PWD/build/engine" "$version"
