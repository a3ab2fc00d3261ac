#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a few seconds from its seed corpus.
# Skipped (with a note) where clang or its fuzzer runtime is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-5}
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  echo "fuzz: clang with libFuzzer not found; fuzz run skipped"
  exit 0
fi
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=ON -DVELMORA_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null
failed=0
for target in parse_room_packet unscramble_text body_value hex_decode_text unpack_bytes; do
  work=$(mktemp -d)
  cp fuzz/codecs/corpus/$target/* "$work"/
  if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=0 "$work" >"$work.log" 2>&1; then
    echo "fuzz: $target ok ($(grep -o 'DONE.*' "$work.log" | head -1 || true))"
  else
    echo "fuzz: $target FAILED"; tail -40 "$work.log"; failed=1
  fi
  rm -rf "$work" "$work.log"
done
exit $failed
