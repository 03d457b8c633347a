#!/usr/bin/env bash
# Sanitizer stage: builds every CTest program with AddressSanitizer and UndefinedBehaviorSanitizer
# (preset "asan", -fsanitize=address,undefined -fno-sanitize-recover=all, into build-asan/) and
# runs them all through CTest under Qt's offscreen platform. A finding ends its program with a
# failure, so it fails the stage. Leak reports from inside third-party libraries are dropped by
# tools/sanitizers/lsan.supp, which names those libraries only, never our own code.
set -euo pipefail
cd "$(dirname "$0")/../.."

# The same settings as the "asan" test preset: test discovery runs each program after linking.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tools/sanitizers/lsan.supp:print_suppressions=0

t=$(date +%s)
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$(nproc)"
echo "-- asan built in $(( $(date +%s) - t )) s"
ctest --preset asan -j "$(nproc)"
