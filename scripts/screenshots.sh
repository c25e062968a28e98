#!/bin/sh
# Screenshots of the program's windows under Xvfb, in a Wine virtual desktop
# (which draws the frames and captions that a bare X server lacks), saved as
# build/screenshots/<name>.png. Each picture is taken once its window is shown
# and painted (the gallery program looks for it by class and title, and makes
# a file to say so); a picture all in one colour fails the run. With
# TARVENDEL_DPI set (such as 144), the screen has that DPI and the pictures
# are <name>-<dpi>.png. With names as arguments, only those pictures are taken.
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
# name, program, argument, the window to wait for: class, or class:title
shots="error ScreenshotGallery error CMSGCLASS
question ScreenshotGallery question CMSGCLASS
about ScreenshotGallery about CMSGCLASS
empty ScreenshotGallery empty MainClass
main ScreenshotGallery main MainClass
calendar CalendarGallery - CalendarGallery
setup DialogGallery setup #32770:Setup
info DialogGallery info #32770:Info
reminder ReminderGallery - #32770:Edit
add ReminderGallery add #32770:Add
alert AlertGallery - CMSGCLASS:Tarvendel"
if [ $# -gt 0 ]; then
    shots=$(echo "$shots" | while read -r name rest; do
        for wanted in "$@"; do
            if [ "$name" = "$wanted" ]; then echo "$name $rest"; fi
        done
    done)
fi
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
    failed=""
    echo "$1" | { while read name program argument window; do
        [ -f "$program.exe" ] || continue
        [ "$argument" = "-" ] && argument=""
        picture="$2/$name$5.png"
        ready="$2/$name.ready"
        rm -f "$ready"
        TARVENDEL_SHOT_READY="Z:$(echo "$ready" | tr / "\\\\")" TARVENDEL_SHOT_WINDOW="$window" \
            timeout 90 "$wine" explorer /desktop=shots,$4 "$program.exe" $argument &
        waited=0
        while [ ! -f "$ready" ] && [ $waited -lt 600 ]; do
            sleep 0.1
            waited=$((waited + 1))
        done
        if [ -f "$ready" ]; then
            xwd -root -silent | convert xwd:- "$picture"
        else
            echo "screenshots: $name$5: the window $window did not appear" >&2
            failed="$failed $name$5"
        fi
        rm -f "$ready"
        wait
        # A picture in one colour shows nothing of the window.
        if [ -f "$picture" ] && [ "$(convert "$picture" -format %k info:)" -le 1 ]; then
            echo "screenshots: $name$5.png is all one colour" >&2
            failed="$failed $name$5"
        fi
    done
    /usr/lib/wine/wineserver64 -k
    [ -z "$failed" ] || { echo "screenshots: failed:$failed" >&2; exit 1; }
    }
' sh "$shots" "$out" "$dpi" "$desktop" "$suffix"
echo "Screenshots in $out"
