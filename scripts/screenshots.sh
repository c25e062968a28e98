#!/bin/sh
# Screenshots of the program's windows under Xvfb, in a Wine virtual desktop
# (which draws the frames and captions that a bare X server lacks), saved as
# build/screenshots/<name>.png. With TARVENDEL_DPI set (such as 144), the
# screen has that DPI and the pictures are <name>-<dpi>.png.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/install-deps.sh"
sh "$root/scripts/build.sh" "$root/build"

out="$root/build/screenshots"
mkdir -p "$out"
dpi=${TARVENDEL_DPI:-96}
suffix=""
desktop=800x600
export WINEPREFIX="$root/build/wine-screenshots"
if [ "$dpi" != 96 ]; then
    suffix="-$dpi"
    desktop=$((800 * dpi / 96))x$((600 * dpi / 96))
    WINEPREFIX="$root/build/wine-screenshots-dpi$dpi"
fi
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
xvfb-run -a -s "-screen 0 ${desktop}x24" sh -c '
    wine=/usr/lib/wine/wine64
    "$wine" wineboot --init >/dev/null 2>&1
    if [ "$3" != 96 ]; then
        for key in "HKCU\\Control Panel\\Desktop" "HKCC\\Software\\Fonts"; do
            "$wine" reg add "$key" /v LogPixels /t REG_DWORD /d "$3" /f >/dev/null 2>&1
        done
        /usr/lib/wine/wineserver64 -k
        /usr/lib/wine/wineserver64 -w
    fi
    echo "$1" | while read name program argument; do
        [ -f "$program.exe" ] || continue
        [ "$argument" = "-" ] && argument=""
        timeout 20 "$wine" explorer /desktop=shots,$4 "$program.exe" $argument &
        sleep 6
        xwd -root -silent | convert xwd:- "$2/$name$5.png"
        wait
    done
    /usr/lib/wine/wineserver64 -k
' sh "$shots" "$out" "$dpi" "$desktop" "$suffix"
echo "Screenshots in $out"
