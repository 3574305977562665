#!/usr/bin/env python3
# Prints the share of product lines run, per folder, from a gcovr JSON report,
# and exits 1 when a product source file was not built or has no line run.
#   coverage-report.py <gcovr.json> <source-tree> <build-dir>
import json, os, re, shlex, sys
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
# A source counts as built when its own object has notes, matched by path:
# two sources of one name in different folders are different files.
built = set()
for entry in json.load(open(os.path.join(build, "compile_commands.json"))):
    args = shlex.split(entry["command"])
    if "-o" not in args:
        continue
    obj = os.path.join(entry["directory"], args[args.index("-o") + 1])
    if os.path.exists(os.path.splitext(obj)[0] + ".gcno"):
        built.add(os.path.realpath(os.path.join(entry["directory"], entry["file"])))
unrun = [n for n, per in lines.items() if per and not any(per.values())]
for root in ("Library", "Executable", "Platform"):
    for d, _, files in os.walk(os.path.join(src, root)):
        for n in files:
            if n.endswith(".cpp") and os.path.realpath(os.path.join(d, n)) not in built:
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
