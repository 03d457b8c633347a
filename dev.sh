#!/usr/bin/env bash
# Sets up, builds and runs Fenmar or its tests on Debian 12.
#   ./dev.sh run    install what is missing, build, start the program
#   ./dev.sh test   install what is missing, build, run every test
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake make g++ pkg-config qt6-base-dev libsqlite3-dev libgtest-dev libgmock-dev
          libbenchmark-dev clang fonts-dejavu-core)
# Extra stages of the test run bring their own packages (tools/packages/*.txt).
for list in tools/packages/*.txt; do
    [ -e "$list" ] || continue
    while read -r p _; do
        [ -n "$p" ] && [ "${p#\#}" = "$p" ] && packages+=("$p")
    done < "$list"
done

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    for p in "${missing[@]}"; do
        case "$p" in
            *:i386) dpkg --print-foreign-architectures | grep -qx i386 ||
                        "${sudo[@]}" dpkg --add-architecture i386 ;;
        esac
    done
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    cmake --preset default >/dev/null
    cmake --build --preset default -j "$(nproc)"
}

case "${1:-}" in
    run)
        install_missing
        build
        exec ./build/bin/fenmar
        ;;
    test)
        FENMAR_TEST_START=$(date +%s)
        install_missing
        t=$(date +%s)
        build
        FENMAR_TIMES="build $(( $(date +%s) - t )) s"
        export QT_QPA_PLATFORM=offscreen
        t=$(date +%s)
        ctest --preset default -j "$(nproc)"
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
