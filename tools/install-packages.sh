# Installing Debian packages that are missing, for ./dev.sh and tools/extra-tests.sh (sourced
# by them, not run). A bad day of the package registry (an index that cannot be fetched while
# a mirror syncs, no i386 packages) must not stop what does not need the packages it lacks:
#   - `apt-get update` runs at most once per test command (FENMAR_APT_UPDATED), is retried
#     once, and when it fails again one line says so and the lists this machine has are used;
#   - a list that apt-get refuses as a whole is installed one package at a time, so one
#     package that cannot be had does not sink the others; each of those is named in one line.
# FENMAR_DRY_RUN=1 installs nothing and prints what would be installed.

# Packages of the given lists (one a line, `#` starts a comment), in the array PACKAGES.
packages_of() {
    PACKAGES=()
    local list p
    for list; do
        while read -r p _; do
            [ -n "$p" ] && [ "${p#\#}" = "$p" ] && PACKAGES+=("$p")
        done < "$list"
    done
}

package_installed() {
    dpkg-query -W -f='${Status}\n' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# The packages given that are not installed, in the array MISSING.
missing_of() {
    MISSING=()
    local p
    for p; do
        package_installed "$p" || MISSING+=("$p")
    done
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# One `apt-get update` per test command, retried once; failing twice is not fatal.
apt_update_once() {
    [ "${FENMAR_APT_UPDATED:-0}" = 1 ] && return 0
    export FENMAR_APT_UPDATED=1
    local log
    log=$(mktemp)
    if as_root apt-get update -qq >"$log" 2>&1; then
        rm -f "$log"
        return 0
    fi
    echo "packages: apt-get update failed ($(grep -m1 '^E:' "$log" || tail -n1 "$log")); trying once more"
    sleep 5
    if ! as_root apt-get update -qq >"$log" 2>&1; then
        echo "packages: apt-get update failed again ($(grep -m1 '^E:' "$log" || tail -n1 "$log")); going on with the package lists this machine has"
    fi
    rm -f "$log"
}

# Installs the packages given that are missing; those still missing afterwards are named, one
# line each, and left in the array NOT_INSTALLED. Returns 0 either way.
install_packages() {
    NOT_INSTALLED=()
    missing_of "$@"
    [ ${#MISSING[@]} -eq 0 ] && return 0
    if [ "${FENMAR_DRY_RUN:-0}" = 1 ]; then
        echo "packages: would install ${MISSING[*]}"
        return 0
    fi
    local p log
    for p in "${MISSING[@]}"; do
        case "$p" in
            *:i386) dpkg --print-foreign-architectures | grep -qx i386 ||
                        as_root dpkg --add-architecture i386 ;;
        esac
    done
    apt_update_once
    echo "packages: installing ${MISSING[*]}"
    log=$(mktemp)
    export DEBIAN_FRONTEND=noninteractive
    if ! as_root apt-get install -y -qq --no-install-recommends "${MISSING[@]}" >"$log" 2>&1; then
        # apt-get refuses a whole list for one package it cannot install: one at a time.
        for p in "${MISSING[@]}"; do
            package_installed "$p" && continue
            if ! as_root apt-get install -y -qq --no-install-recommends "$p" >"$log" 2>&1; then
                echo "packages: cannot install $p ($(grep -m1 '^E:' "$log" || tail -n1 "$log"))"
            fi
        done
    fi
    rm -f "$log"
    missing_of "${MISSING[@]}"
    NOT_INSTALLED=("${MISSING[@]}")
}
