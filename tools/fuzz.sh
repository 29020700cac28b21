#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time; any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz
cmake --build --preset fuzz -j "$(nproc)"
shopt -s nullglob
for target in build/fuzz/tests/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  # Each target writes its own seeds when asked (see the target's source).
  FUZZ_WRITE_SEEDS="$corpus" "$target" -runs=0 >/dev/null 2>&1 || true
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus"
done
