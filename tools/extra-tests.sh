#!/usr/bin/env bash
# Test stages beyond ctest (fuzzing, other architectures), run after it by ./dev.sh test.
set -euo pipefail
cd "$(dirname "$0")/.."
for stage in tools/ci-stages/*.sh; do
    [ -e "$stage" ] || continue
    echo "== stage $(basename "$stage" .sh)"
    start=$(date +%s)
    bash "$stage"
    echo "== stage $(basename "$stage" .sh) passed in $(( $(date +%s) - start )) s"
done
