#!/usr/bin/env bash
# Install stage: installs into a temporary prefix whose path holds a blank and checks what a
# user gets there (the programs run from it with a private settings folder, the menu entry
# naming the installed program, a Quick-Set launcher, the AppStream metadata, icons, man
# pages, plug-ins), then builds the Debian package, checks its fields and contents and runs
# lintian on it. The package is only unpacked into a throw-away folder, never installed into
# this machine.
set -euo pipefail
cd "$(dirname "$0")/../.."

# A developer's build/ is used when it is there. Otherwise (a clean clone: the test command
# builds its tests with the sanitizers elsewhere) the programs are built into build-release/
# without debug information, which the package strips anyway.
build=${INSTALL_BUILD_DIR:-}
if [ -z "$build" ]; then
    if [ -f build/CMakeCache.txt ]; then build=build; else build=build-release; fi
fi
id=com.corvanta.Fenmar
if [ ! -f "$build/CMakeCache.txt" ]; then
    # The same optimisation as the default build's (-O2), which the warnings are checked at.
    cmake --preset default -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DFENMAR_BUILD_TESTS=OFF -DFENMAR_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j2 --target fenmar fenmar-reg fenmar_sample_plugins fenmar_icons

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/opt/fenmar games"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "install: $*" >&2; exit 1; }
for f in bin/fenmar bin/fenmar-reg \
         lib/fenmar/PlugIns/DeathmatchRules.so lib/fenmar/PlugIns/WinQuakeSwitch.so \
         lib/fenmar/PlugIns/MinimalPlugIn.so \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/16x16/apps/fenmar.png share/icons/hicolor/256x256/apps/fenmar.png \
         share/icons/hicolor/scalable/apps/fenmar.svg \
         share/man/man1/fenmar.1.gz share/man/man1/fenmar-reg.1.gz \
         share/doc/fenmar/copyright share/doc/fenmar/changelog.gz; do
    [ -f "$prefix/$f" ] || fail "missing $f"
done
[ ! -e "$prefix/lib/fenmar/PlugIns/NotAPlugIn.so" ] || fail "the test fixture NotAPlugIn was installed"
file "$prefix/share/icons/hicolor/48x48/apps/fenmar.png" | grep -q "48 x 48" \
    || fail "the 48-pixel icon is not 48 pixels square"

# The installed programs, with a private settings folder and no display.
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
[ "$("$prefix/bin/fenmar" --version)" = "Fenmar 1.30" ] || fail "--version"
[ "$("$prefix/bin/fenmar" --list-quicksets)" = "<default>" ] || fail "--list-quicksets (fresh)"
mkdir -p "$work/quake/id1"
cat > "$work/coop.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\\Internal]
"Quake Path"="$work/quake"

[HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\\QuickSets\\Coop night\\General]
"Executable"="GL-Quake"
"Current Plug-In"="DeathmatchRules.so"
"SkillLevel"=dword:00000001
"DemoState"=dword:00000000
"CommandLineMode"=dword:00000001

[HKEY_CURRENT_USER\\Software\\Corvanta\\Fenmar\\QuickSets\\Coop night\\Multiplayer]
"EnableServer"="Yes"
"HostName"="Coop night"
"ServerType"=dword:00000000
"MaxPlayers"=dword:00000004
"Deathmatch"=dword:00000000
"Teamplay"=dword:00000000
"Pausable"="Yes"
REG
"$prefix/bin/fenmar-reg" import "$work/coop.reg"
"$prefix/bin/fenmar" --list-quicksets | grep -qx "Coop night" || fail "--list-quicksets (seeded)"
line=$("$prefix/bin/fenmar" --print-command-line "Coop night" | head -n1)
echo "install: Coop night: $line"
case "$line" in
    "$work/quake/glquake.exe -listen 4 +exec fenmar.cfg") ;;
    *) fail "unexpected line for Coop night: $line" ;;
esac
# The installed plug-in was found (its own "+map" went into the config file).
"$prefix/bin/fenmar" --print-command-line "Coop night" | grep -q "^config file: map " \
    || fail "the installed plug-in was not used"

desktop-file-validate "$prefix/share/applications/$id.desktop"
# The menu entry names the installed program: the prefix need not be on the session's PATH.
grep -Fqx "Exec=\"$prefix/bin/fenmar\"" "$prefix/share/applications/$id.desktop" \
    || fail "menu entry Exec= line: $(grep ^Exec= "$prefix/share/applications/$id.desktop")"
"$prefix/bin/fenmar" --desktop-entry "Coop night" > "$work/fenmar-quickset-Coop_night.desktop"
desktop-file-validate "$work/fenmar-quickset-Coop_night.desktop"
grep -Fqx "Exec=\"$prefix/bin/fenmar\" --run --gui-errors -- \"Coop night\"" "$work/fenmar-quickset-Coop_night.desktop" \
    || fail "launcher Exec= line: $(grep ^Exec= "$work/fenmar-quickset-Coop_night.desktop")"
grep -q "^Icon=$prefix/share/icons/hicolor/256x256/apps/fenmar.png$" \
    "$work/fenmar-quickset-Coop_night.desktop" || fail "launcher icon"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
# The man pages format without a single warning from man or groff.
for page in fenmar fenmar-reg; do
    if ! warnings=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >"$work/$page.txt"); then
        fail "man cannot format $page.1.gz: $warnings"
    fi
    [ -z "$warnings" ] || fail "man page $page.1.gz: $warnings"
    grep -q "^NAME" "$work/$page.txt" || fail "man page $page.1.gz has no NAME section"
done

# The Debian package.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/fenmar_*.deb)
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb" > "$work/contents"
for f in ./usr/bin/fenmar ./usr/bin/fenmar-reg ./usr/lib/fenmar/PlugIns/DeathmatchRules.so \
         ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
         ./usr/share/icons/hicolor/256x256/apps/fenmar.png ./usr/share/man/man1/fenmar.1.gz \
         ./usr/share/man/man1/fenmar-reg.1.gz ./usr/share/doc/fenmar/copyright \
         ./usr/share/doc/fenmar/changelog.gz; do
    grep -q " $f\$" "$work/contents" || fail "the package lacks $f"
done
depends=$(dpkg-deb --field "$deb" Depends)
echo "install: Depends: $depends"
for lib in libqt6widgets6 libqt6core6 libsqlite3-0 libc6 libstdc++6; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib"
done
# Debian's package checker: errors fail the stage, warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian found errors in $(basename "$deb")"
# Unpacked into a throw-away root, the packaged program runs and finds its plug-ins.
dpkg-deb -x "$deb" "$work/root"
grep -Fqx "Exec=/usr/bin/fenmar" "$work/root/usr/share/applications/$id.desktop" \
    || fail "packaged menu entry: $(grep ^Exec= "$work/root/usr/share/applications/$id.desktop")"
[ "$("$work/root/usr/bin/fenmar" --version)" = "Fenmar 1.30" ] || fail "packaged --version"
"$work/root/usr/bin/fenmar" --print-command-line "Coop night" | grep -q "^config file: map " \
    || fail "the packaged program did not find its plug-ins"
echo "install: $(basename "$deb") checked"
