#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the application.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
exec build/VQ7Converter "$@"
