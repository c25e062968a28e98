#!/bin/sh
# The Windows packages used as a user would use them. Under Wine, in a fresh
# prefix of its own: the setup program installs silently, the installed
# program starts, both refuse while it runs (with its window or without),
# the uninstaller keeps the entry in "Apps" while Tarvendel.exe cannot be
# removed, and runs silently, first keeping the reminders and settings; a
# second install into a folder of the profile with a blank in its name, then
# a third into the usual folder, which removes the second first; last the
# uninstaller removes everything with /REMOVEDATA. The portable zip's files
# are checked too.
#
#   sh tests/installer-test.sh DIST_FOLDER PROGRAM VERSION
#
# DIST_FOLDER holds Tarvendel-VERSION-setup.exe and -portable.zip; PROGRAM is
# the Tarvendel.exe they were made from. Exit code 0 when every check held.
set -u
dist=$1
program=$2
version=$3
setup=$dist/Tarvendel-$version-setup.exe
portable=$dist/Tarvendel-$version-portable.zip

root=$(cd "$(dirname "$0")/.." && pwd)
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
base=${TARVENDEL_WINE_BASE:-${TMPDIR:-/tmp}/tarvendel-wine-$(id -u)}
cr=$(printf '\r')

checks=0
failures=0
# check DESCRIPTION COMMAND...: counts a check that holds when COMMAND succeeds.
check() {
    description=$1
    shift
    checks=$((checks + 1))
    if ! "$@" >/dev/null; then
        printf 'FAILED: %s\n' "$description"
        failures=$((failures + 1))
    fi
}
equal() { [ "$1" = "$2" ] || { printf '  got "%s", expected "%s"\n' "$1" "$2" >&2; return 1; }; }
absent() { [ ! -e "$1" ] || { printf '  %s is still there\n' "$1" >&2; return 1; }; }
finish() {
    if [ "$failures" -eq 0 ]; then
        echo "installer-test: all $checks checks held"
        exit 0
    fi
    echo "installer-test: $failures of $checks checks failed"
    exit 1
}

check "the setup program was built" test -f "$setup"
check "the portable zip was built" test -f "$portable"
[ "$failures" -eq 0 ] || finish

prefix=""
zipped=$(mktemp -d "${TMPDIR:-/tmp}/tarvendel-zip.XXXXXX")
cleanup() {
    if [ -n "$prefix" ]; then
        WINEPREFIX="$prefix" "$WINESERVER" -k 2>/dev/null
        WINEPREFIX="$prefix" "$WINESERVER" -w 2>/dev/null
        rm -rf "$prefix"
    fi
    rm -rf "$zipped"
}
trap cleanup EXIT

# --- The portable zip -------------------------------------------------------
unzip -q "$portable" -d "$zipped"
check "the zip holds Tarvendel.exe, README.txt and LICENSE.txt, nothing else" \
    equal "$(unzip -Z1 "$portable" | sort | tr '\n' ' ')" "LICENSE.txt README.txt Tarvendel.exe "
check "the zip's Tarvendel.exe is the program built" cmp "$zipped/Tarvendel.exe" "$program"
# Notepad before Windows 10 shows a file with bare LF line ends as one line.
check "README.txt ends every line with CR LF" \
    equal "$(grep -c -v "$cr\$" "$zipped/README.txt")" 0
check "README.txt is the README" sh -c 'tr -d "\r" <"$1" | cmp - "$2"' sh \
    "$zipped/README.txt" "$root/README.md"
check "LICENSE.txt ends every line with CR LF" \
    equal "$(grep -c -v "$cr\$" "$zipped/LICENSE.txt")" 0
check "LICENSE.txt is the licence" sh -c 'tr -d "\r" <"$1" | cmp - "$2"' sh \
    "$zipped/LICENSE.txt" "$root/LICENSE"

# --- A fresh prefix ---------------------------------------------------------
# A copy of the headless template that scripts/wine-run.sh keeps (null
# graphics driver, no crash debugger); running anything through that script
# makes the template when it is missing.
[ -f "$base/template/.ready" ] || "$root/scripts/wine-run.sh" cmd /c exit 0 >/dev/null 2>&1
if [ ! -f "$base/template/.ready" ]; then
    echo "installer-test: no Wine prefix template in $base" >&2
    exit 1
fi
prefix=$(mktemp -d "$base/installer.XXXXXX")
cp -a "$base/template/." "$prefix/"
rm -f "$prefix/.ready"
export WINEPREFIX="$prefix" WINEDEBUG=-all
# Shortcuts made in the prefix must not become menu entries of this machine.
export WINEDLLOVERRIDES="winemenubuilder.exe=d"

run_wine() { timeout 60 "$WINE" "$@"; }
# Everything that runs in the prefix has ended: the uninstaller hands over to
# a copy of itself in the temporary folder and returns at once.
wait_prefix() { timeout 60 "$WINESERVER" -w; }
query() { run_wine reg query "$@" 2>/dev/null | tr -d '\r'; }
# field NAME: the data of value NAME in a "reg query" listing on stdin.
field() { sed -n "s/^    $1    REG_[A-Z_]*    //p"; }
# A key or value that "reg query" does not find (exit code 1, not a time-out).
missing() { run_wine reg query "$@" >/dev/null 2>&1; [ $? -eq 1 ]; }
# batch NAME LINE: runs LINE through cmd as a user would type it, as
# C:\NAME.bat; its result is LINE's.
batch() {
    printf '@%s\r\n@exit /b %%errorlevel%%\r\n' "$2" >"$prefix/drive_c/$1.bat"
    run_wine cmd /c "C:\\$1.bat"
}

# again COMMAND...: runs COMMAND, which starts the setup program or the
# uninstaller; its result is COMMAND's. Both are made without relocations, to
# be loaded at one fixed address. Wine now and then fails to load such a
# program and hands it to start.exe, which fails as well ("ShellExecuteEx
# failed", exit code 1, nothing done); a user would start it again, and so
# does this, up to three times.
again() {
    attempts=0
    while :; do
        "$@" >"$zipped/started" 2>&1
        result=$?
        attempts=$((attempts + 1))
        grep -q 'ShellExecuteEx failed' "$zipped/started" && [ $attempts -lt 3 ] || break
        printf '  Wine could not load the program started by "%s"; again\n' "$*" >&2
    done
    cat "$zipped/started"
    return $result
}

user=$(ls "$prefix/drive_c/users" | grep -v '^Public$' | head -n 1)
home=$prefix/drive_c/users/$user
folder=$home/AppData/Local/Programs/Tarvendel
folder_windows="C:\\users\\$user\\AppData\\Local\\Programs\\Tarvendel"
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tarvendel.lnk"
data=$home/AppData/Roaming/PellixFreeware/Tarvendel
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvendel'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# The user's SID, which names the user's unlock-and-wake task.
sid=$(query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\ProfileList' |
    sed -n 's/.*\\\(S-1-5-21-[0-9-]*\)$/\1/p' | head -n 1)
tasks=$prefix/drive_c/windows/system32/tasks
# task NAME USERID: registers a task as the program or an earlier version did.
task() {
    printf '%s\r\n' '<?xml version="1.0"?>' \
        '<Task xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task">' \
        "<Principals><Principal id=\"User\"><UserId>$2</UserId></Principal></Principals>" \
        "<Actions Context=\"User\"><Exec><Command>$folder_windows\\Tarvendel.exe</Command></Exec></Actions></Task>" \
        >"$prefix/drive_c/task.xml"
    run_wine schtasks /Create /TN "$1" /XML 'C:\task.xml' >/dev/null
}
settings_key='HKCU\Software\Pellix Freeware\Tarvendel\Settings'

# --- Install ----------------------------------------------------------------
again run_wine "$setup" /S
check "the setup program ends with 0" equal "$?" 0
for file in Tarvendel.exe README.txt LICENSE.txt Uninstall.exe; do
    check "$file is installed" test -f "$folder/$file"
done
check "the installed Tarvendel.exe is the program built" cmp "$folder/Tarvendel.exe" "$program"
check "the Start-menu shortcut is made" test -f "$shortcut"
check "the shortcut starts the installed program" \
    grep -q -a -F "$folder_windows\\Tarvendel.exe" "$shortcut"

entry=$(query "$uninstall_key")
check "DisplayName" equal "$(printf "%s\n" "$entry" | field DisplayName)" "Tarvendel"
check "DisplayVersion" equal "$(printf "%s\n" "$entry" | field DisplayVersion)" "$version"
check "Publisher" equal "$(printf "%s\n" "$entry" | field Publisher)" "Tarvendel developers"
check "UninstallString" equal "$(printf "%s\n" "$entry" | field UninstallString)" \
    "\"$folder_windows\\Uninstall.exe\""
check "QuietUninstallString" equal "$(printf "%s\n" "$entry" | field QuietUninstallString)" \
    "\"$folder_windows\\Uninstall.exe\" /S"
check "InstallLocation" equal "$(printf "%s\n" "$entry" | field InstallLocation)" "$folder_windows"
check "DisplayIcon" equal "$(printf "%s\n" "$entry" | field DisplayIcon)" "$folder_windows\\Tarvendel.exe,0"
check "NoModify" equal "$(printf "%s\n" "$entry" | field NoModify)" 0x1
check "NoRepair" equal "$(printf "%s\n" "$entry" | field NoRepair)" 0x1
# In KiB, each file rounded down.
size=$(printf '%d' "$(printf "%s\n" "$entry" | field EstimatedSize)" 2>/dev/null)
bytes=$(cat "$folder"/* | wc -c)
check "EstimatedSize is the installed size in KiB" \
    test "${size:-0}" -ge $((bytes / 1024 - 4)) -a "${size:-0}" -le $((bytes / 1024))

mkdir -p "$data"
run_wine "$folder_windows\\Tarvendel.exe" RUN
check "the installed program started with RUN on an empty data folder ends with 1" equal "$?" 1

# --- While Tarvendel is open ------------------------------------------------
# Started by hand it opens its window; a RUN start then ends with 0 at once,
# where with no data file it would end with 1: that tells when it is open.
"$WINE" "$folder_windows\\Tarvendel.exe" >/dev/null 2>&1 &
running=$!
tries=0
until run_wine "$folder_windows\\Tarvendel.exe" RUN || [ $tries -ge 40 ]; do
    tries=$((tries + 1))
    sleep 0.5
done
check "a RUN start while the window is open ends with 0" \
    run_wine "$folder_windows\\Tarvendel.exe" RUN
again run_wine "$setup" /S
check "the silent setup program refuses while Tarvendel runs, with exit code 2" equal "$?" 2
# _?= runs the uninstaller in place, so that its exit code is its own.
again run_wine "$folder_windows\\Uninstall.exe" /S "_?=$folder_windows"
check "the silent uninstaller refuses while Tarvendel runs, with exit code 2" equal "$?" 2
check "the program stays installed meanwhile" test -f "$folder/Tarvendel.exe"
kill "$running"
wait "$running"
wait_prefix

# --- While Tarvendel runs without its window --------------------------------
# Showing "Unknown parameter" before any window exists, as at a RUN start.
"$WINE" "$folder_windows\\Tarvendel.exe" /x >/dev/null 2>&1 &
windowless=$!
sleep 3
again run_wine "$setup" /S
check "the silent setup program refuses while a windowless Tarvendel runs, with exit code 2" \
    equal "$?" 2
again run_wine "$folder_windows\\Uninstall.exe" /S "_?=$folder_windows"
check "the silent uninstaller refuses while a windowless Tarvendel runs, with exit code 2" \
    equal "$?" 2
check "the program stays installed then" test -f "$folder/Tarvendel.exe"
check "and so does its entry in Apps" run_wine reg query "$uninstall_key"
kill "$windowless"
wait "$windowless" 2>/dev/null
wait_prefix

# --- While another program holds Tarvendel.exe open -------------------------
# cmd holds a file given as input for as long as the command runs.
printf '@ping -n 12 127.0.0.1 < "%s\\Tarvendel.exe" > nul\r\n' "$folder_windows" \
    >"$prefix/drive_c/hold.bat"
"$WINE" cmd /c 'C:\hold.bat' >/dev/null 2>&1 &
holder=$!
sleep 3
again run_wine "$folder_windows\\Uninstall.exe" /S "_?=$folder_windows"
check "the uninstaller that cannot remove Tarvendel.exe ends with 4" equal "$?" 4
check "Tarvendel.exe is still there" test -f "$folder/Tarvendel.exe"
check "and its entry in Apps is kept, to uninstall it later" run_wine reg query "$uninstall_key"
wait "$holder"
wait_prefix

# What a user's runs leave: reminders, settings, the start-up entry (beside
# another program's).
printf '12/25 Christmas\r\n01/10/07 Pay rent\r\n' >"$data/Tarvendel.dat"
cp "$data/Tarvendel.dat" "$zipped/reminders"
run_value=$(printf '%s\\Tarvendel.exe RUN' "$folder_windows")
printf '%s\r\n' REGEDIT4 '' \
    '[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]' \
    "\"Tarvendel\"=\"$(printf '%s' "$run_value" | sed 's/\\/\\\\/g')\"" \
    '"Another"="another.exe"' '' \
    '[HKEY_CURRENT_USER\Software\Pellix Freeware\Tarvendel\Settings]' \
    '"Range"=dword:00000007' >"$prefix/drive_c/state.reg"
run_wine regedit /S 'C:\state.reg'
check "the start-up entry is there before uninstalling" \
    equal "$(query "$run_key" /v Tarvendel | field Tarvendel)" "$run_value"
check "the user's SID is known" test -n "$sid"
task "Tarvendel-$sid" "$sid"
task "Tarvendel-Alert-$sid" "$sid"
task "Tarvendel-Alert-S-1-5-21-1-2-3-1001" "S-1-5-21-1-2-3-1001"
task "Tarvendel-S-1-5-21-1-2-3-1001" "S-1-5-21-1-2-3-1001"
task Tarvendel "S-1-5-21-1-2-3-1001"
check "the user's unlock-and-wake task is there before uninstalling" test -f "$tasks/Tarvendel-$sid"

# --- Uninstall, keeping the reminders ---------------------------------------
again run_wine "$folder_windows\\Uninstall.exe" /S
check "the uninstaller ends with 0" equal "$?" 0
check "the uninstaller finished within a minute" wait_prefix
check "the program folder is removed" absent "$folder"
check "the Start-menu shortcut is removed" absent "$shortcut"
check "the uninstall entry is removed" missing "$uninstall_key"
check "the start-up entry is removed" missing "$run_key" /v Tarvendel
check "the user's unlock-and-wake task is removed" absent "$tasks/Tarvendel-$sid"
check "the user's alert task is removed" absent "$tasks/Tarvendel-Alert-$sid"
check "another user's alert task stays" test -f "$tasks/Tarvendel-Alert-S-1-5-21-1-2-3-1001"
check "another user's task stays" test -f "$tasks/Tarvendel-S-1-5-21-1-2-3-1001"
check "a task for the whole computer made by another user stays" test -f "$tasks/Tarvendel"
check "other programs' start-up entries stay" \
    equal "$(query "$run_key" /v Another | field Another)" "another.exe"
check "the reminders stay" cmp "$data/Tarvendel.dat" "$zipped/reminders"
check "the settings stay" equal "$(query "$settings_key" /v Range | field Range)" 0x7

# --- Install elsewhere, then back: the earlier copy goes first -------------
# /D= must come last and unquoted, and the uninstall entry's command is run as
# a program that reads it from there would: both go through cmd.
elsewhere="C:\\users\\$user\\My Apps\\Tarvendel"
elsewhere_unix="$home/My Apps/Tarvendel"
cp "$setup" "$prefix/drive_c/setup.exe"
again batch install "C:\\setup.exe /S /D=$elsewhere"
check "a second install into a folder with a blank ends with 0" equal "$?" 0
check "the second install is in the folder given" cmp "$elsewhere_unix/Tarvendel.exe" "$program"
check "its QuietUninstallString names that folder" \
    equal "$(query "$uninstall_key" | field QuietUninstallString)" "\"$elsewhere\\Uninstall.exe\" /S"
printf '%s\r\n' REGEDIT4 '' \
    '[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]' \
    "\"Tarvendel\"=\"\\\"$(printf '%s' "$elsewhere" | sed 's/\\/\\\\/g')\\\\Tarvendel.exe\\\" RUN\"" \
    >"$prefix/drive_c/moved.reg"
run_wine regedit /S 'C:\moved.reg'

# Without /D= a setup program goes where the last install went.
again batch back "C:\\setup.exe /S /D=$folder_windows"
check "a third install into the usual folder ends with 0" equal "$?" 0
check "the third install is in the usual folder" cmp "$folder/Tarvendel.exe" "$program"
check "the copy in the other folder is uninstalled first" absent "$elsewhere_unix"
check "one entry in Apps, for the usual folder" \
    equal "$(query "$uninstall_key" | field InstallLocation)" "$folder_windows"
check "the start-up entry follows the program to the usual folder" \
    equal "$(query "$run_key" /v Tarvendel | field Tarvendel)" "$folder_windows\\Tarvendel.exe RUN"
check "the reminders stay through the move" cmp "$data/Tarvendel.dat" "$zipped/reminders"

# --- Uninstall with /REMOVEDATA ---------------------------------------------
quiet=$(query "$uninstall_key" | field QuietUninstallString)
again batch remove "$quiet /REMOVEDATA"
check "the uninstaller with /REMOVEDATA ends with 0" equal "$?" 0
check "the uninstaller with /REMOVEDATA finished within a minute" wait_prefix
check "that program folder is removed" absent "$folder"
check "the uninstall entry is removed again" missing "$uninstall_key"
check "/REMOVEDATA removes the reminders" absent "$data"
check "/REMOVEDATA removes the then empty PellixFreeware folder" absent "$(dirname "$data")"
check "/REMOVEDATA removes the settings" missing 'HKCU\Software\Pellix Freeware'

finish
