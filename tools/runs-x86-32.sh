#!/usr/bin/env bash
# Finds out whether this machine runs 32-bit x86 Linux programs by building a tiny one with
# -m32 and starting it. Exit status 0: they run; 1: they do not; 2: no -m32 program could be
# built. Prints one line saying which and why.
# FENMAR_ASSUME_NO_X86_32=1 answers "they do not" without trying, so the paths taken on such
# machines (the emulator, the skipped 32-bit Windows programs) can be run anywhere.
set -uo pipefail

if [ "${FENMAR_ASSUME_NO_X86_32:-0}" = 1 ]; then
    echo "32-bit x86 programs assumed not to run (FENMAR_ASSUME_NO_X86_32=1)"
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/probe.c" <<'C'
#include <stdio.h>
int main(void) {
    printf("x86-32 %u\n", (unsigned)(sizeof(void*) * 8));
    return 0;
}
C
if ! "${CC_X86_32:-gcc}" -m32 -o "$work/probe" "$work/probe.c" 2>"$work/cc.log"; then
    echo "cannot build a -m32 program ($(head -n1 "$work/cc.log")); install tools/packages/plugins32.txt"
    exit 2
fi
out=$(cd "$work" && timeout 20 ./probe 2>&1)
if [ "$out" = "x86-32 32" ]; then
    echo "32-bit x86 programs run natively"
    exit 0
fi
reason=$(printf '%s\n' "$out" | head -n1 | sed 's/^.*: //')
echo "32-bit x86 programs do not run here (${reason:-the probe printed nothing})"
exit 1
