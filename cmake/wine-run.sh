#!/bin/bash
# Runs a Windows program under wine64 in the project's own Wine prefix, made once.
set -e
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/yox-strings-editor/wine64}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko installer prompts
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

if [ ! -e "$WINEPREFIX/.ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -e "$WINEPREFIX/.ready" ]; then
            WINEPREFIX="$WINEPREFIX" "$wineserver" -k >/dev/null 2>&1 || true
            rm -rf "$WINEPREFIX"
            "$wine" wineboot -i >/dev/null 2>&1 </dev/null
            # Without a window manager every window close would wait for one.
            "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
            "$wineserver" -w
            touch "$WINEPREFIX/.ready"
        fi
    ) 9>"$WINEPREFIX.lock"
fi
# A persistent server and the prefix's own processes, started apart with their output
# to /dev/null: started by the program below they would hold the caller's pipes open.
"$wineserver" -p >/dev/null 2>&1 </dev/null || true
"$wine" wineboot >/dev/null 2>&1 </dev/null
exec "$wine" "$@"
