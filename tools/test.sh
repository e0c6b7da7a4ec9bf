#!/bin/bash
# Installs what is needed, builds every preset and runs every test (natively, with the
# sanitizers, each fuzz target briefly, the static analysis, and the Windows programs
# under wine64 on a virtual display).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

for preset in native sanitize win64 win32; do
    cmake --preset "$preset" >"build-$preset.log" 2>&1 || { cat "build-$preset.log"; exit 1; }
    rm -f "build-$preset.log"
    cmake --build --preset "$preset"
done

ctest --preset native
ctest --preset sanitize
tools/fuzz.sh 30  # each fuzz target for 30 s on its corpus, with the sanitizers
tools/lint.sh     # clang-tidy, cppcheck and the format check, on the native and win64 builds

# Wine's server is stopped before and after, so that it never outlives its display.
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/yox-strings-editor/wine64}"
stop_wine() { /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true; }
stop_wine
trap stop_wine EXIT
xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset win64
