#!/usr/bin/env bash
# Builds the tree with coverage counters, runs the whole test suite once and
# prints the share of product lines run, per folder and per file. Fails when
# a product source file has no line run by any test.
#   bash tools/coverage.sh [source-tree]   (default: this checkout)
set -euo pipefail
TOOLS="$(cd "$(dirname "$0")" && pwd)"
SRC="$(cd "${1:-$TOOLS/..}" && pwd)"
BUILD="$SRC/build-cov"
bash "$TOOLS/deps.sh"
export QT_QPA_PLATFORM=offscreen

# The tests run threads, so the counters are updated atomically.
cmake -S "$SRC" -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug -DVQ7_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="--coverage -fprofile-update=atomic" \
  -DCMAKE_EXE_LINKER_FLAGS="--coverage" >/dev/null
cmake --build "$BUILD" -j "$(nproc)" --target vq7_tests VQ7Converter
find "$BUILD" -name '*.gcda' -delete
# A failing test is the test run's business; here only the lines count.
(cd "$BUILD" && ctest -j "$(nproc)" --output-on-failure >"$BUILD/coverage-ctest.log" 2>&1) ||
  echo "coverage: some tests failed (see $BUILD/coverage-ctest.log)"

# The portable side is compiled through links in build-cov/com-include, so
# its headers show up under two names; the report merges them line by line.
gcovr --root "$SRC" --object-directory "$BUILD" \
  --filter "$SRC/Library/" --filter "$SRC/Executable/" --filter "$SRC/Platform/" \
  --filter "$BUILD/com-include/" --gcov-ignore-parse-errors \
  --json "$BUILD/coverage.json" -j "$(nproc)" >/dev/null 2>"$BUILD/coverage-gcovr.log"

python3 "$TOOLS/coverage-report.py" "$BUILD/coverage.json" "$SRC" "$BUILD"
