#!/usr/bin/env bash
# The coverage report finds an unbuilt source by its path, even when a built
# source elsewhere has the same name, and passes a tree where all is built.
set -euo pipefail
REPORT="$(cd "$(dirname "$0")/../../tools" && pwd)/coverage-report.py"
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
mkdir -p "$T/src/Library/GT/Com/Audio" "$T/src/Library/GT/Com/Extra" "$T/build/obj"
touch "$T/src/Library/GT/Com/Audio/CConverter.cpp" "$T/src/Library/GT/Com/Extra/CConverter.cpp"
touch "$T/build/obj/CConverter.cpp.gcno"
cat >"$T/build/compile_commands.json" <<JSON
[{"directory": "$T/build", "file": "$T/src/Library/GT/Com/Audio/CConverter.cpp",
  "command": "c++ -c $T/src/Library/GT/Com/Audio/CConverter.cpp -o obj/CConverter.cpp.o"}]
JSON
cat >"$T/cov.json" <<JSON
{"files": [{"file": "Library/GT/Com/Audio/CConverter.cpp", "lines": [
  {"line_number": 1, "count": 3, "gcovr/noncode": false, "gcovr/excluded": false}]}]}
JSON

status=0
python3 "$REPORT" "$T/cov.json" "$T/src" "$T/build" >"$T/out" || status=$?
if [ "$status" -ne 1 ] || ! grep -q "Library/GT/Com/Extra/CConverter.cpp (not built)" "$T/out"; then
  echo "an unbuilt file of a built file's name was not reported (exit $status):"
  cat "$T/out"
  exit 1
fi
if grep -q "Audio/CConverter.cpp (not built)" "$T/out"; then
  echo "a built file was reported as unbuilt:"
  cat "$T/out"
  exit 1
fi

rm "$T/src/Library/GT/Com/Extra/CConverter.cpp"
python3 "$REPORT" "$T/cov.json" "$T/src" "$T/build" >"$T/out" || {
  echo "a fully built and run tree failed:"
  cat "$T/out"
  exit 1
}
echo "coverage report: unbuilt files found by path"
