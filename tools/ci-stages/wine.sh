#!/usr/bin/env bash
# Windows stage: cross-builds the layers below the window for 32- and 64-bit Windows with
# MinGW-w64 (presets win32 and win64) and runs every test program under Wine, pass or fail
# by exit code. The 64-bit programs run through wine64 everywhere (it needs no 32-bit
# support). The 32-bit ones run only where the machine runs 32-bit x86 programs
# (tools/runs-x86-32.sh tries one) and Wine's 32-bit loader is installed; elsewhere only the
# 32-bit libraries are built (so 32-bit faults in the product still fail the stage) and one
# line names the test programs skipped and why. Only a failing build or test fails the stage.
# Needs the packages of tools/packages/wine.txt; installs nothing itself.
# No display is used; the Wine prefix is private to the build tree.
set -euo pipefail
cd "$(dirname "$0")/../.."
stage_start=$(date +%s)

export WINEPREFIX="$PWD/build-win-wine/prefix"
export WINEARCH=win64            # one prefix runs both the 32- and the 64-bit programs
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # never offer to download Mono or Gecko
unset DISPLAY WAYLAND_DISPLAY
jobs=$(nproc)

# Layers whose tests do not cross-build yet, with the reason. Their owners remove the line.
declare -A layer_not_yet=(
    [addons]="it reads the catalogue with QtCore, which the MinGW builds do not have"
    [download]="it downloads through Qt Network, which the MinGW builds do not have"
)
# Test cases that do not pass on Windows yet: "program:Suite.Case" -> reason.
declare -A case_not_yet=(
)

# A tool that is missing fails the stage; where its package could not be installed
# (FENMAR_MISSING_PACKAGES, set by tools/extra-tests.sh) the stage is skipped and says why.
missing() {
    case " ${FENMAR_MISSING_PACKAGES:-} " in
        *" $2 "*)
            echo "-- wine: skipped: $2 could not be installed (it gives $1)"
            exit 0
            ;;
    esac
    echo "missing $1: install tools/packages/wine.txt (./dev.sh does)" >&2
    exit 1
}
command -v wineserver >/dev/null || missing wineserver wine
command -v i686-w64-mingw32-g++ >/dev/null || missing i686-w64-mingw32-g++ g++-mingw-w64-i686
command -v x86_64-w64-mingw32-g++ >/dev/null || missing x86_64-w64-mingw32-g++ g++-mingw-w64-x86-64
[ -f /usr/src/googletest/CMakeLists.txt ] || missing "GoogleTest's sources" googletest
# Debian keeps both loaders out of PATH; its "wine" script prefers the 32-bit one, which
# cannot start where 32-bit programs do not run, so the 64-bit programs get wine64 itself.
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$wine64" ] || missing wine64 wine64
wine32=/usr/lib/wine/wine
run64=(env WINELOADER="$wine64" "$wine64")

# The 64-bit programs run everywhere; the 32-bit ones where 32-bit programs run.
run_presets=(win64)
skip32=""
reason=$(tools/runs-x86-32.sh) || skip32=$reason
if [ ! -x "$wine32" ]; then
    case " ${FENMAR_MISSING_PACKAGES:-} " in
        *" wine32:i386 "*) reason="Wine's 32-bit loader $wine32 is missing: package wine32:i386 could not be installed" ;;
        *) reason="Wine's 32-bit loader $wine32 is missing (package wine32:i386)" ;;
    esac
    skip32="${skip32:+$skip32; }$reason"
fi
[ -n "$skip32" ] || run_presets=(win32 win64)

mkdir -p "$(dirname "$WINEPREFIX")"
trap 'wineserver -k 2>/dev/null || true' EXIT
t=$(date +%s)
wineserver -p 2>/dev/null || true  # one server, kept up between the test programs
"${run64[@]}" wineboot --init 2>/dev/null
echo "-- Wine prefix ready in $(( $(date +%s) - t )) s ($("$wine64" --version), 64-bit loader $wine64)"

# The test programs of every layer folder below the window.
targets=()
for dir in tests/*/; do
    layer=$(basename "$dir")
    case "$layer" in support|ui|app|cli|engine) continue ;; esac  # these need the window
    [ -f "$dir/CMakeLists.txt" ] || continue
    if [ -n "${layer_not_yet[$layer]:-}" ]; then
        echo "-- not built for Windows yet: $layer (${layer_not_yet[$layer]})"
        continue
    fi
    targets+=("fenmar_${layer}_tests")
done

failed=0
summary=()
for preset in win32 win64; do
    t=$(date +%s)
    cmake --preset "$preset" >/dev/null
    case " ${run_presets[*]} " in
        *" $preset "*)
            cmake --build --preset "$preset" -j "$jobs" --target "${targets[@]}"
            echo "-- $preset built in $(( $(date +%s) - t )) s"
            ;;
        *)
            # Test programs that cannot run here are not built; the layers they test are.
            cmake --build --preset "$preset" -j "$jobs" --target "${targets[@]/%_tests/}"
            echo "-- $preset libraries built in $(( $(date +%s) - t )) s"
            continue
            ;;
    esac
    if [ "$preset" = win64 ]; then loader=("${run64[@]}"); else loader=("$wine32"); fi
    for target in "${targets[@]}"; do
        exe="build-$preset/bin/$target.exe"
        excluded=()
        for key in "${!case_not_yet[@]}"; do
            [ "${key%%:*}" = "$target" ] && excluded+=("${key#*:}")
        done
        args=(--gtest_brief=1)
        if [ ${#excluded[@]} -gt 0 ]; then
            args+=("--gtest_filter=-$(IFS=:; echo "${excluded[*]}")")
            for c in "${excluded[@]}"; do
                echo "-- $preset $target: leaving out $c (${case_not_yet[$target:$c]})"
            done
        fi
        t=$(date +%s)
        if timeout 600 "${loader[@]}" "$exe" "${args[@]}"; then
            result=passed
        else
            result="FAILED ($?)"
            failed=1
        fi
        summary+=("$preset $target: $result in $(( $(date +%s) - t )) s")
    done
done

echo "-- Windows test programs under Wine:"
printf '   %s\n' "${summary[@]}"
if [ -n "$skip32" ]; then
    echo "-- skipped: the 32-bit Windows test programs (${targets[*]/%/.exe}) were neither built nor run, only the libraries they test: $skip32"
fi
echo "-- Wine stage took $(( $(date +%s) - stage_start )) s"
exit $failed
