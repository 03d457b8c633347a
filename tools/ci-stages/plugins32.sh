#!/usr/bin/env bash
# 32-bit x86 stage: builds the plug-in host layer, its tests and the plug-ins with -m32 and
# runs the tests, so the 66- and 84-byte records and the register calling convention are
# exercised between a real 32-bit host and real 32-bit libraries.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset plugins32 >/dev/null
cmake --build --preset plugins32 -j "$(nproc)"
file build-plugins32/bin/fenmar_plugins_tests build-plugins32/bin/PlugIns/*.so | sed 's/,.*//'
timeout 300 build-plugins32/bin/fenmar_plugins_tests --gtest_brief=1
