#!/usr/bin/env bash
# Builds the libFuzzer programs (preset "fuzz") and runs each one for a bounded time on its seed
# corpus. Program bin/fuzz_<folder> belongs to fuzz/<folder>/corpus/ (bin/fuzz_<folder>_<what>,
# one of several in a folder, to fuzz/<folder>/corpus-<what>/). Any crash,
# hang (a single input running longer than the timeout) or out-of-memory fails the stage.
set -euo pipefail
cd "$(dirname "$0")/../.."

# 45 s a target keeps the whole test command within its time budget as targets are added.
seconds=${FUZZ_SECONDS:-30}
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

for program in "${programs[@]}"; do
    name=$(basename "$program")
    folder=${name#fuzz_}
    corpus=fuzz/$folder/corpus
    # Targets that share a folder (fuzz_<folder>_<what>) keep their seeds in corpus-<what>.
    if [ ! -d "$corpus" ] && [ "$folder" != "${folder#*_}" ]; then
        corpus=fuzz/${folder%%_*}/corpus-${folder#*_}
    fi
    if [ ! -d "$corpus" ]; then
        echo "fuzz: $name has no seed corpus $corpus" >&2
        exit 1
    fi
    # New inputs go to a scratch directory first in the list, so the seeds stay untouched.
    scratch=$work/$folder
    mkdir -p "$scratch"
    echo "== fuzz $name for ${seconds} s on $corpus"
    "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$name-" "$scratch" "$corpus"
done
