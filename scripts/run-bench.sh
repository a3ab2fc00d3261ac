#!/usr/bin/env bash
# Runs every benchmark program of the build once (results on stdout).
set -euo pipefail
build=${1:-build}
for b in "$build"/bench/*; do
  [[ -x "$b" && -f "$b" ]] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_min_time=0.5 || echo "benchmark $(basename "$b") failed"
done
