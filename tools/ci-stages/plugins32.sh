#!/usr/bin/env bash
# 32-bit x86 stage: builds the plug-in host layer, its tests and the plug-ins with -m32 and
# runs the tests, so the 66- and 84-byte records and the register calling convention are
# exercised between a real 32-bit host and real 32-bit libraries. Where the machine runs no
# 32-bit programs (tools/runs-x86-32.sh tries one), the same tests run through qemu-i386,
# which also lists the test cases for CTest (CMAKE_CROSSCOMPILING_EMULATOR).
set -euo pipefail
cd "$(dirname "$0")/../.."

status=0
reason=$(tools/runs-x86-32.sh) || status=$?
case $status in
    0) emulator=() way="natively" ;;
    1)
        qemu=$(command -v qemu-i386) || {
            echo "plugins32: $reason, and qemu-i386 is missing: install tools/packages/qemu-user.txt (./dev.sh does)" >&2
            exit 1
        }
        emulator=("$qemu") way="through $qemu"
        ;;
    *) echo "plugins32: $reason" >&2; exit 1 ;;
esac
echo "-- $reason: the 32-bit tests run $way"

# An empty value clears an emulator left in the cache by an earlier run of the other kind.
cmake --preset plugins32 -DCMAKE_CROSSCOMPILING_EMULATOR="${emulator[*]:-}" >/dev/null
cmake --build --preset plugins32 -j "$(nproc)"
file build-plugins32/bin/fenmar_plugins_tests build-plugins32/bin/PlugIns/*.so | sed 's/,.*//'
timeout 600 "${emulator[@]}" build-plugins32/bin/fenmar_plugins_tests --gtest_brief=1
echo "-- plugins32: the 32-bit plug-in tests passed, run $way"
