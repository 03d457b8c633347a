#!/usr/bin/env bash
# Sets up, builds and runs Fenmar or its tests on Debian 12.
#   ./dev.sh run    install what building and running need (tools/packages/run.txt), build the
#                   programs and the sample plug-ins into build/, start the program
#   ./dev.sh test   also install the test packages, build the programs, tests and benchmarks
#                   once with AddressSanitizer and UndefinedBehaviorSanitizer (preset asan,
#                   build-asan/), run every test under them; then the extra stages, each
#                   installing its own packages (the install stage builds the plain programs
#                   into build/)
# FENMAR_DRY_RUN=1 only prints the packages that would be installed.
set -euo pipefail
cd "$(dirname "$0")"
. tools/install-packages.sh

# Installs the lists given; a package of them that cannot be installed ends the script.
install_core() {
    packages_of "$@"
    if [ "${FENMAR_DRY_RUN:-0}" = 1 ]; then
        echo "packages: needed: ${PACKAGES[*]}"
    fi
    install_packages "${PACKAGES[@]}"
    if [ ${#NOT_INSTALLED[@]} -gt 0 ]; then
        echo "packages: cannot go on without ${NOT_INSTALLED[*]}" >&2
        exit 1
    fi
    [ "${FENMAR_DRY_RUN:-0}" != 1 ] || exit 0
}

# The lists of the test programs: every list that belongs neither to `run` nor to a stage.
test_lists() {
    local list name stage owned
    for list in tools/packages/*.txt; do
        name=$(basename "$list" .txt)
        owned=0
        [ "$name" = run ] && owned=1
        for stage in tools/ci-stages/*.sh; do
            stage=$(basename "$stage" .sh)
            case "$name" in "$stage" | "$stage"-*) owned=1 ;; esac
        done
        [ $owned = 1 ] || echo "$list"
    done
}

case "${1:-}" in
    run)
        install_core tools/packages/run.txt
        # A fresh build/ gets no tests or benchmarks; one that has them (after ./dev.sh test)
        # keeps them, and only the programs and plug-ins are brought up to date.
        if [ -f build/CMakeCache.txt ]; then
            cmake --preset default >/dev/null
            cmake --build --preset programs -j "$(nproc)"
        else
            cmake --preset default -DFENMAR_BUILD_TESTS=OFF -DFENMAR_BUILD_BENCH=OFF >/dev/null
            cmake --build --preset default -j "$(nproc)"
        fi
        exec ./build/bin/fenmar
        ;;
    test)
        FENMAR_TEST_START=$(date +%s)
        mapfile -t lists < <(test_lists)
        # Enable i386 before the one `apt-get update`, should a stage need such a package.
        packages_of tools/packages/*.txt
        missing_of "${PACKAGES[@]}"
        case " ${MISSING[*]} " in
            *:i386\ *) [ "${FENMAR_DRY_RUN:-0}" = 1 ] || dpkg --print-foreign-architectures |
                           grep -qx i386 || as_root dpkg --add-architecture i386 ;;
        esac
        if [ "${FENMAR_DRY_RUN:-0}" = 1 ]; then
            echo "packages: the test command needs, with its stages: ${PACKAGES[*]}"
            install_packages "${PACKAGES[@]}"
        fi
        install_core tools/packages/run.txt "${lists[@]}"
        # One build of everything, with the sanitizers: every test runs under them, and any
        # finding (a leak, an overflow, undefined behaviour) fails its program. Building the
        # tests a second time without them would double the command's longest step.
        t=$(date +%s)
        cmake --preset asan -DFENMAR_BUILD_BENCH=ON >/dev/null
        cmake --build --preset asan -j "$(nproc)"
        FENMAR_TIMES="build $(( $(date +%s) - t )) s"
        export QT_QPA_PLATFORM=offscreen
        t=$(date +%s)
        ctest --preset asan -j "$(nproc)"
        FENMAR_TIMES+=", ctest $(( $(date +%s) - t )) s"
        echo "== ctest passed ($FENMAR_TIMES)"
        export FENMAR_TEST_START FENMAR_TIMES
        if [ -x tools/extra-tests.sh ]; then tools/extra-tests.sh; fi
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
