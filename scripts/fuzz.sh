#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time from its committed seeds.
#   scripts/fuzz.sh [SECONDS_EACH]      default 60
# New inputs go to a scratch corpus, so the committed seeds stay as they are. A finding is
# written to build/fuzz/findings/ and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
findings=build/fuzz/findings
mkdir -p "$findings"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
for seeds in fuzz/corpus/*/; do
  name=$(basename "$seeds")
  mkdir -p "$scratch/$name"
  echo "== fuzz_$name for ${seconds}s"
  if ! "build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$findings/$name-" "$scratch/$name" "$seeds" \
      >"$scratch/$name.log" 2>&1; then
    status=1
    tail -40 "$scratch/$name.log"
  fi
  grep -E '^(Done|stat::number_of_executed_units)' "$scratch/$name.log" || true
done
exit $status
