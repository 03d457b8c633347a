#!/usr/bin/env bash
# 32-bit x86 stage: builds the plug-in host layer, its tests and the plug-ins with -m32 and
# runs the tests, so the 66- and 84-byte records and the register calling convention are
# exercised between a real 32-bit host and real 32-bit libraries. Where the machine runs no
# 32-bit programs (tools/runs-x86-32.sh tries one), the same tests run through qemu-i386,
# which also lists the test cases for CTest (CMAKE_CROSSCOMPILING_EMULATOR).
# Needs no i386 package: GoogleTest is built from Debian's sources with -m32, and without an
# i386 SQLite the store keeps the tests' settings in memory. Where a package of
# tools/packages/plugins32*.txt could not be installed (FENMAR_MISSING_PACKAGES, set by
# tools/extra-tests.sh), the stage says what it skips and why.
set -euo pipefail
cd "$(dirname "$0")/../.."

unavailable() {  # the first of the packages given that the registry could not give
    local p
    for p; do
        case " ${FENMAR_MISSING_PACKAGES:-} " in *" $p "*) echo "$p"; return 0 ;; esac
    done
    return 1
}
skip() { echo "-- plugins32: skipped: $1"; exit 0; }

status=0
reason=$(tools/runs-x86-32.sh) || status=$?
case $status in
    0) emulator=() way="natively" ;;
    1)
        qemu=$(command -v qemu-i386) || {
            p=$(unavailable qemu-user) && skip "$reason, and $p could not be installed"
            echo "plugins32: $reason, and qemu-i386 is missing: install tools/packages/plugins32-qemu.txt (./dev.sh does)" >&2
            exit 1
        }
        emulator=("$qemu") way="through $qemu"
        ;;
    *)
        p=$(unavailable gcc-multilib g++-multilib) && skip "$reason; $p could not be installed"
        echo "plugins32: $reason" >&2
        exit 1
        ;;
esac
if [ ! -f /usr/src/googletest/CMakeLists.txt ]; then
    p=$(unavailable googletest) && skip "$p (GoogleTest's sources) could not be installed"
    echo "plugins32: no GoogleTest sources in /usr/src/googletest: install tools/packages/plugins32.txt" >&2
    exit 1
fi
echo "-- $reason: the 32-bit tests run $way"

# An empty value clears an emulator left in the cache by an earlier run of the other kind.
cmake --preset plugins32 -DCMAKE_CROSSCOMPILING_EMULATOR="${emulator[*]:-}" >/dev/null
cmake --build --preset plugins32 -j "$(nproc)"
file build-plugins32/bin/fenmar_plugins_tests build-plugins32/bin/PlugIns/*.so | sed 's/,.*//'
if grep -q '^SQLite3_LIBRARY:.*NOTFOUND' build-plugins32/CMakeCache.txt; then
    echo "-- no i386 SQLite: the 32-bit store keeps the tests' settings in memory"
fi
timeout 600 "${emulator[@]}" build-plugins32/bin/fenmar_plugins_tests --gtest_brief=1
echo "-- plugins32: the 32-bit plug-in tests passed, run $way"
