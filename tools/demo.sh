#!/bin/bash
# Installs what is needed, builds the editor for Windows, and opens it under Wine on a
# "Strings.dat": in your X session when there is one; otherwise on a virtual display,
# where it saves a screenshot of the open editor and closes it again.
#
#   tools/demo.sh            a fresh demo Strings.dat in the scratch folder demo/
#   tools/demo.sh FOLDER     the Strings.dat in FOLDER (a demo one is written there if it has none)
#
# The editor under Wine is the x86_64 build: this machine's Wine runs 64-bit programs only.
set -euo pipefail
named=""
if [ $# -gt 0 ]; then
    mkdir -p "$1"
    named=$(cd "$1" && pwd)
fi
cd "$(dirname "$0")/.."
root=$PWD
build=${DEMO_BUILD_DIR:-build/win64}
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/yox-strings-editor/wine64}"
wine_run=$root/cmake/wine-run.sh
editor=$root/$build/editor/YoxStringsEditor.exe
stop_wine() { /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true; }

# On the virtual display (this script started again by xvfb-run below).
if [ -n "${YOX_DEMO_FOLDER:-}" ]; then
    shot=$root/$build/editor-demo.png
    stop_wine # a server started on another display would put the window there
    (cd "$YOX_DEMO_FOLDER" && exec "$wine_run" "$editor") &
    editor_pid=$!
    "$wine_run" "$root/$build/tools/demo-window.exe" shown
    xwd -root -silent -display "$DISPLAY" | convert xwd:- -trim +repage "$shot"
    echo "Screenshot of the open editor: $shot"
    "$wine_run" "$root/$build/tools/demo-window.exe" close
    status=0
    wait "$editor_pid" || status=$?
    stop_wine
    echo "The editor was closed with \"Done\" and ended with status $status."
    exit "$status"
fi

tools/install-deps.sh
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset win64 -B "$build" >/dev/null
fi
cmake --build "$build" --target YoxStringsEditor make-demo-strings demo-window

if [ -n "$named" ]; then
    folder=$named
else
    folder=$root/demo
    mkdir -p "$folder"
    rm -f "$folder/Strings.dat"
fi
if [ ! -f "$folder/Strings.dat" ]; then
    (cd "$folder" && "$wine_run" "$root/$build/tools/make-demo-strings.exe")
    echo "Wrote a demo Strings.dat to $folder"
fi

if [ -n "${DISPLAY:-}" ] && xwd -root -silent -display "$DISPLAY" >/dev/null 2>&1; then
    echo "Opening the editor on $folder/Strings.dat"
    status=0
    (cd "$folder" && exec "$wine_run" "$editor") || status=$?
    echo "The editor ended with status $status."
    exit "$status"
fi
echo "No X display: opening the editor on $folder/Strings.dat on a virtual display"
YOX_DEMO_FOLDER=$folder exec xvfb-run -a -s "-screen 0 1024x768x24" "$root/tools/demo.sh"
