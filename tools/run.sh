#!/usr/bin/env bash
# Installs what is missing, builds the program alone (tools/test.sh builds
# the tests and benchmarks) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target VQ7Converter
exec build/VQ7Converter "$@"
