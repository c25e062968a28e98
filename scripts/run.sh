#!/bin/sh
# Installs what is missing, builds, and starts Tarvendel.exe under Wine. With a
# display the program opens there; without one it runs under Xvfb and a
# screenshot is saved as build/screenshot.png.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/install-deps.sh"
sh "$root/scripts/build.sh" "$root/build"

WINE=/usr/lib/wine/wine64
export WINEPREFIX="$root/build/wine-prefix"
export WINEDEBUG=-all
cd "$root/build/bin"
if [ -n "${DISPLAY:-}" ]; then
    "$WINE" Tarvendel.exe "$@"
    exit $?
fi

screenshot="$root/build/screenshot.png"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    "$0" wineboot --init >/dev/null 2>&1
    "$0" Tarvendel.exe "$@" &
    program=$!
    sleep 6
    xwd -root -silent | convert xwd:- "'"$screenshot"'"
    kill $program 2>/dev/null
    /usr/lib/wine/wineserver64 -k
' "$WINE" "$@"
echo "No display: Tarvendel.exe ran under Xvfb; screenshot saved as $screenshot"
