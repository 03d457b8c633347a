#!/usr/bin/env bash
# Builds the libFuzzer programs (preset "fuzz") and runs each one for a bounded time on its seed
# corpus. Program bin/fuzz_<folder> belongs to fuzz/<folder>/corpus/ (bin/fuzz_<folder>_<what>,
# one of several in a folder, to fuzz/<folder>/corpus-<what>/). Any crash,
# hang (a single input running longer than the timeout) or out-of-memory fails the stage.
# The targets run side by side, one per core (FUZZ_JOBS), each printing its report when done.
set -euo pipefail
cd "$(dirname "$0")/../.."

# 15 s a target, two at a time, keeps the whole test command within its time budget.
seconds=${FUZZ_SECONDS:-15}
jobs=${FUZZ_JOBS:-$(nproc)}
# FUZZ_BUILD_DIR builds elsewhere than the preset's build-fuzz/ (a developer's own tree).
build=${FUZZ_BUILD_DIR:-build-fuzz}

if [ -z "${FUZZ_BUILD_DIR:-}" ]; then
    cmake --preset fuzz
    cmake --build --preset fuzz -j2
else
    cmake --preset fuzz -B "$build"
    cmake --build "$build" -j2
fi

shopt -s nullglob
programs=("$build"/bin/fuzz_*)
if [ ${#programs[@]} -eq 0 ]; then
    echo "fuzz: no fuzz_* programs were built" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts=$build/artifacts
mkdir -p "$artifacts"

# Runs one target; its output goes to $work/<name>.log.
fuzz_one() {
    local program=$1 name folder corpus scratch
    name=$(basename "$program")
    folder=${name#fuzz_}
    corpus=fuzz/$folder/corpus
    # Targets that share a folder (fuzz_<folder>_<what>) keep their seeds in corpus-<what>.
    if [ ! -d "$corpus" ] && [ "$folder" != "${folder#*_}" ]; then
        corpus=fuzz/${folder%%_*}/corpus-${folder#*_}
    fi
    if [ ! -d "$corpus" ]; then
        echo "fuzz: $name has no seed corpus $corpus"
        return 1
    fi
    # New inputs go to a scratch directory first in the list, so the seeds stay untouched.
    scratch=$work/$folder
    mkdir -p "$scratch"
    echo "== fuzz $name for ${seconds} s on $corpus"
    "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$name-" "$scratch" "$corpus"
}

# Prints the log of the target that ran as process $1 and notes a failure.
failed=()
report() {
    local pid=$1 status=0
    wait "$pid" || status=$?
    cat "$work/${names[$pid]}.log"
    if [ "$status" -ne 0 ]; then
        echo "== fuzz ${names[$pid]} FAILED (exit $status)"
        failed+=("${names[$pid]}")
    fi
}

declare -A names=()
running=()
for program in "${programs[@]}"; do
    if [ ${#running[@]} -ge "$jobs" ]; then
        report "${running[0]}"
        running=("${running[@]:1}")
    fi
    name=$(basename "$program")
    fuzz_one "$program" > "$work/$name.log" 2>&1 &
    names[$!]=$name
    running+=("$!")
done
for pid in "${running[@]}"; do
    report "$pid"
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: failed: ${failed[*]} (inputs in $artifacts)" >&2
    exit 1
fi
