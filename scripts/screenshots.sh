#!/bin/sh
# Screenshots of the program's windows under Xvfb, in a Wine virtual desktop
# (which draws the frames and captions that a bare X server lacks), saved as
# build/screenshots/<name>.png.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/install-deps.sh"
sh "$root/scripts/build.sh" "$root/build"

out="$root/build/screenshots"
mkdir -p "$out"
export WINEPREFIX="$root/build/wine-screenshots"
export WINEDEBUG=-all
cd "$root/build/bin"
# name, program, argument
shots="error ScreenshotGallery error
question ScreenshotGallery question
about ScreenshotGallery about
empty ScreenshotGallery empty
main ScreenshotGallery main
calendar CalendarGallery -
setup DialogGallery setup
info DialogGallery info
reminder ReminderGallery -"
xvfb-run -a -s "-screen 0 800x600x24" sh -c '
    wine=/usr/lib/wine/wine64
    "$wine" wineboot --init >/dev/null 2>&1
    echo "$1" | while read name program argument; do
        [ -f "$program.exe" ] || continue
        [ "$argument" = "-" ] && argument=""
        timeout 20 "$wine" explorer /desktop=shots,800x600 "$program.exe" $argument &
        sleep 6
        xwd -root -silent | convert xwd:- "$2/$name.png"
        wait
    done
    /usr/lib/wine/wineserver64 -k
' sh "$shots" "$out"
echo "Screenshots in $out"
