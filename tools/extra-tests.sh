#!/usr/bin/env bash
# Test stages beyond ctest (fuzzing, other architectures, the installed program), run after it by
# ./dev.sh test. Prints each stage's time and, at the end, one line with every time; the
# times measured before this script (./dev.sh's build and ctest) come in FENMAR_TIMES, and the
# total counts from FENMAR_TEST_START (seconds since the epoch) when given.
# Before each stage the packages of its lists (tools/packages/<stage>.txt, <stage>-*.txt) are
# installed when missing. Those that cannot be installed are named; the stages below must then
# fail, the others get them in FENMAR_MISSING_PACKAGES and run another way or say what they
# skip and why.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/install-packages.sh
never_skip=" fuzz install "
times=${FENMAR_TIMES:-}
all_start=${FENMAR_TEST_START:-$(date +%s)}
total() { echo "total $(( $(date +%s) - all_start )) s"; }
# CPU seconds (user + system) used so far by the programs this script waited for: on a busy
# machine a better measure of a stage's cost than its wall time.
scratch=$(mktemp)
trap 'rm -f "$scratch"' EXIT
cpu() {  # sets CPU; `times` must run in this shell, not in a $(...) copy of it
    times > "$scratch"
    CPU=$(tail -n 1 "$scratch" |
        awk '{ t = 0; for (i = 1; i <= 2; i++) { split($i, a, /[ms]/); t += a[1] * 60 + a[2] } printf "%d", t }')
}
for stage in tools/ci-stages/*.sh; do
    [ -e "$stage" ] || continue
    name=$(basename "$stage" .sh)
    echo "== stage $name"
    start=$(date +%s)
    # A stage may have no list of its own (only the glob is dropped by nullglob when nothing
    # matches, so the stage's own list is added only where it exists).
    lists=()
    [ -f tools/packages/"$name".txt ] && lists+=(tools/packages/"$name".txt)
    shopt -s nullglob
    lists+=(tools/packages/"$name"-*.txt)
    shopt -u nullglob
    NOT_INSTALLED=()
    if [ ${#lists[@]} -gt 0 ]; then
        packages_of "${lists[@]}"
        install_packages "${PACKAGES[@]}"
    fi
    if [ ${#NOT_INSTALLED[@]} -gt 0 ] && [ "${never_skip/ $name /}" != "$never_skip" ]; then
        echo "== stage $name FAILED: it cannot run without ${NOT_INSTALLED[*]}"
        echo "== times: ${times:+$times, }$name (failed); $(total)"
        exit 1
    fi
    export FENMAR_MISSING_PACKAGES="${NOT_INSTALLED[*]}"
    cpu
    cpu_start=$CPU
    if bash "$stage"; then
        took=$(( $(date +%s) - start ))
        cpu
        echo "== stage $name passed in $took s (CPU $(( CPU - cpu_start )) s)"
        times+="${times:+, }$name $took s"
    else
        took=$(( $(date +%s) - start ))
        echo "== stage $name FAILED after $took s"
        echo "== times: ${times:+$times, }$name $took s (failed); $(total)"
        exit 1
    fi
done
echo "== times: $times; $(total)"
