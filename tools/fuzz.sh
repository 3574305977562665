#!/usr/bin/env bash
# Runs every fuzz target of a build for a short, fixed number of inputs,
# seeded with small WAV and AIFF files made now. Fails on any crash or
# sanitizer report.
set -euo pipefail
BUILD=${1:?usage: tools/fuzz.sh <build-dir>}
RUNS=${FUZZ_RUNS:-20000}
WORK=$(mktemp -d "${TMPDIR:-/tmp}/vq7-fuzz-XXXXXX")
trap 'rm -rf "$WORK"' EXIT

seeds() { # dir ext
  local dir=$1 ext=$2
  mkdir -p "$dir"
  sox -n -r 8000 -c 1 -b 16 "$dir/m16.$ext" synth 0.005 sine 300
  sox -n -r 8000 -c 2 -b 8 "$dir/s8.$ext" synth 0.003 sine 300
  sox -n -r 11025 -c 1 -b 24 "$dir/m24.$ext" synth 0.002 sine 300
  sox -n -r 8000 -c 1 -b 8 "$dir/odd.$ext" synth 0.000625 sine 300
  if [ "$ext" = wav ]; then
    sox -n -r 8000 -c 1 -e floating-point -b 32 "$dir/f32.wav" synth 0.002 sine 300
    sndfile-convert -float64 "$dir/m16.wav" "$dir/f64.wav"
    sndfile-metadata-set --str-comment fuzz "$dir/m16.wav" "$dir/list.wav"
  fi
}

status=0
ran=0
for target in "$BUILD"/fuzz/*Fuzzer; do
  [ -x "$target" ] || continue
  ran=$((ran + 1))
  name=$(basename "$target")
  case "$name" in
    Aiff*) ext=aiff ;;
    *) ext=wav ;;
  esac
  corpus="$WORK/$name"
  seeds "$corpus" "$ext"
  echo "== $name ($RUNS inputs)"
  if ! UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ASAN_OPTIONS=detect_leaks=1 \
      "$target" -runs="$RUNS" -max_len=4096 -rss_limit_mb=1024 -timeout=10 \
      -artifact_prefix="$WORK/$name-" "$corpus" >"$WORK/$name.log" 2>&1; then
    tail -n 60 "$WORK/$name.log"
    for crash in "$WORK/$name"-*; do
      [ -f "$crash" ] && mkdir -p "$BUILD/fuzz-artifacts" && cp "$crash" "$BUILD/fuzz-artifacts/"
    done
    status=1
  else
    tail -n 2 "$WORK/$name.log"
  fi
done
if [ "$ran" -eq 0 ]; then
  echo "no fuzz targets in $BUILD/fuzz" >&2
  exit 1
fi
exit $status
