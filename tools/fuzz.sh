#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time; any finding fails.
# Each target starts from its corpus kept in the repository
# (tests/fuzz/corpus/<target>/), the inputs of past findings
# (tests/fuzz/regressions/<target>/, never removed) and the seeds it writes
# itself. New inputs that reach further are written into the kept corpus,
# which is then cut down to the inputs still needed: committing it lets the
# next run start where this one ended.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
kept_max_len=8192  # the kept corpus holds small files only
cmake --preset fuzz
cmake --build --preset fuzz -j "$(nproc)"
shopt -s nullglob
mkdir -p build/fuzz/artifacts
for target in build/fuzz/tests/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=tests/fuzz/corpus/$name
  seeds=build/fuzz/seeds/$name
  regressions=tests/fuzz/regressions/$name
  mkdir -p "$corpus" "$seeds" "$regressions"
  # Each target writes its own seeds when asked (see the target's source).
  FUZZ_WRITE_SEEDS="$seeds" "$target" -runs=0 >/dev/null 2>&1 || true
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix=build/fuzz/artifacts/"$name"- -print_final_stats=1 "$corpus" "$regressions" "$seeds"
  # Keep only the inputs that still add coverage, cut to kept_max_len bytes
  # (the seeds are made anew each run).
  kept=build/fuzz/kept/$name
  rm -rf "$kept" && mkdir -p "$kept"
  "$target" -merge=1 -timeout=10 -rss_limit_mb=2048 -max_len="$kept_max_len" "$kept" "$corpus" >/dev/null 2>&1
  find "$corpus" -maxdepth 1 -type f -delete
  cp "$kept"/* "$corpus"/ 2>/dev/null || true
done
