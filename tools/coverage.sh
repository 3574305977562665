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

python3 - "$BUILD/coverage.json" "$SRC" "$BUILD" <<'PY'
import json, os, re, sys
report, src, build = sys.argv[1:4]
links = os.path.relpath(os.path.join(build, "com-include"), src) + "/"
def canonical(name):
    if name.startswith(links):
        rest = name[len(links):]
        return rest if rest.startswith("Executable/") else "Library/" + rest
    return name
lines = {}  # file -> {line: count}
for f in json.load(open(report))["files"]:
    per = lines.setdefault(canonical(f["file"]), {})
    for l in f["lines"]:
        if not l["gcovr/noncode"] and not l["gcovr/excluded"]:
            per[l["line_number"]] = max(per.get(l["line_number"], 0), l["count"])
built = set()
for d, _, files in os.walk(build):
    for n in files:
        if n.endswith(".cpp.gcno"):
            built.add(n[: -len(".gcno")])
unrun = [n for n, per in lines.items() if per and not any(per.values())]
for root in ("Library", "Executable", "Platform"):
    for d, _, files in os.walk(os.path.join(src, root)):
        for n in files:
            if n.endswith(".cpp") and n not in built:
                unrun.append(os.path.relpath(os.path.join(d, n), src) + " (not built)")
pct = lambda run, total: 100.0 * run / total if total else 100.0
folders = {}
for name, per in lines.items():
    parts = name.split("/")
    folder = "/".join(parts[:3] if parts[0] == "Library" else parts[:2])
    folders.setdefault(folder, []).append((name, len(per), sum(1 for c in per.values() if c)))
verbose = os.environ.get("VQ7_COVERAGE_FILES") == "1"
print(f"{'folder':<28}{'lines':>8}{'run':>8}{'share':>8}")
all_total = all_run = 0
for folder in sorted(folders):
    files = folders[folder]
    total, run = sum(f[1] for f in files), sum(f[2] for f in files)
    all_total, all_run = all_total + total, all_run + run
    print(f"{folder:<28}{total:>8}{run:>8}{pct(run, total):>7.1f}%")
    for name, t, r in sorted(files):
        if t and (verbose or pct(r, t) < 50):
            print(f"    {name:<70}{t:>6}{r:>6}{pct(r, t):>7.1f}%")
print(f"{'all product code':<28}{all_total:>8}{all_run:>8}{pct(all_run, all_total):>7.1f}%")
print("(VQ7_COVERAGE_FILES=1 lists every file; files below half are listed always)")
if unrun:
    print("coverage: product files with no line run by a test:")
    for n in sorted(unrun):
        print("   ", n)
    sys.exit(1)
PY
