#!/bin/sh
# Runs one Windows program under Wine in a throw-away prefix of its own, with
# the null graphics driver (no display needed) and no crash debugger, then
# ends that prefix's wineserver and removes the prefix. Used by ctest as the
# cross-compiling emulator; the exit code is the program's.
#
# Making a prefix takes seconds, so one headless template is made once per
# user (under a lock, so parallel runs wait for it) and copied for each run.
#
# With TARVENDEL_DPI set (such as 144 or 192) the prefix's screen has that
# many dots per inch instead of 96; each DPI has a template of its own.
set -u
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
base=${TARVENDEL_WINE_BASE:-${TMPDIR:-/tmp}/tarvendel-wine-$(id -u)}
dpi=${TARVENDEL_DPI:-96}
case "$dpi" in
    ''|*[!0-9]*) echo "wine-run: TARVENDEL_DPI must be a number, not $dpi" >&2; exit 1 ;;
esac
template=$base/template
[ "$dpi" = 96 ] || template=$base/template-dpi$dpi
mkdir -p "$base"

make_template() {
    rm -rf "$template"
    # Made with no DISPLAY: a prefix first used with one can hang "reg add" later.
    env -u DISPLAY WINEPREFIX="$template" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        "$WINE" wineboot --init >/dev/null 2>&1 || return 1
    WINEPREFIX="$template" "$WINESERVER" -w
    env -u DISPLAY WINEPREFIX="$template" WINEDEBUG=-all "$WINE" reg add \
        'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 || return 1
    # A crash must end the process at once instead of waiting in winedbg.
    env -u DISPLAY WINEPREFIX="$template" WINEDEBUG=-all "$WINE" reg add \
        'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
        /d no-debugger.exe /f >/dev/null 2>&1 || return 1
    if [ "$dpi" != 96 ]; then
        for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
            env -u DISPLAY WINEPREFIX="$template" WINEDEBUG=-all "$WINE" reg add "$key" \
                /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || return 1
        done
    fi
    # The desktop process keeps the driver it started with; end it.
    WINEPREFIX="$template" "$WINESERVER" -k 2>/dev/null
    WINEPREFIX="$template" "$WINESERVER" -w 2>/dev/null
    touch "$template/.ready"
}

(
    flock 9
    [ -f "$template/.ready" ] || make_template || { echo "wine-run: cannot make a Wine prefix" >&2; exit 1; }
) 9>"$template.lock" || exit 1

prefix=$(mktemp -d "$base/run.XXXXXX")
cp -a "$template/." "$prefix/"
rm -f "$prefix/.ready"

# With TARVENDEL_SMALL_DRIVE set, drive T: is a 64 KiB file system that fills
# up part-way through a save (mounting it needs root; without, T: is absent).
small=""
if [ -n "${TARVENDEL_SMALL_DRIVE:-}" ] && [ "$(id -u)" = 0 ]; then
    small="$prefix.small"
    mkdir -p "$small"
    if mount -t tmpfs -o size=64k tmpfs "$small" 2>/dev/null; then
        ln -s "$small" "$prefix/dosdevices/t:"
    else
        rmdir "$small"
        small=""
    fi
fi

WINEPREFIX="$prefix" WINEDEBUG=${WINEDEBUG:--all} "$WINE" "$@"
rc=$?
WINEPREFIX="$prefix" "$WINESERVER" -k 2>/dev/null
WINEPREFIX="$prefix" "$WINESERVER" -w 2>/dev/null
if [ -n "$small" ]; then
    umount "$small" && rmdir "$small"
fi
rm -rf "$prefix"
exit $rc
