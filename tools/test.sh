#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: a normal build,
# an AddressSanitizer + UndefinedBehaviorSanitizer build, and the threaded
# tests under ThreadSanitizer. Fails when any test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
JOBS=$(nproc)
export QT_QPA_PLATFORM=offscreen

build() { # dir sanitize target cmake-options...
  local dir=$1 san=$2 target=$3; shift 3
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVQ7_SANITIZE="$san" "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS" --target "$target"
}

echo "== format"
bash tools/format-check.sh

echo "== normal build"
# Benchmarks too, whatever an earlier configuration of build/ chose.
build build "" all -DVQ7_BUILD_BENCH=ON
(cd build && ctest --output-on-failure -j "$JOBS")

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
build build-asan address vq7_tests -DVQ7_BUILD_BENCH=OFF
LSAN_SUPP="$PWD/tools/lsan.supp"
(cd build-asan && UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$LSAN_SUPP" ctest --output-on-failure -j "$JOBS")

echo "== ThreadSanitizer (threaded tests)"
build build-tsan thread vq7_tests -DVQ7_BUILD_BENCH=OFF
(cd build-tsan && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --output-on-failure -j "$JOBS" -R Threaded --no-tests=ignore)

if [ -f fuzz/CMakeLists.txt ]; then
  echo "== fuzz targets (short fixed runs)"
  build build-fuzz "" vq7_fuzz -DCMAKE_CXX_COMPILER=clang++ -DVQ7_BUILD_FUZZ=ON -DVQ7_BUILD_BENCH=OFF
  bash tools/fuzz.sh build-fuzz
fi
echo "== all tests passed"
