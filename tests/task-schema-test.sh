#!/bin/sh
# The unlock-and-wake task's definitions against the Task Scheduler's schema
# (tests/task-schema.xsd), as Windows checks them before registering a task;
# Wine does not. First the schema itself is shown to refuse what Windows
# refuses, then every definition the program writes must pass.
#
#   sh tests/task-schema-test.sh TaskDefinitions.exe
#
# Exit code 0 when every check held.
set -u
tool=$1
root=$(cd "$(dirname "$0")/.." && pwd)
schema=$root/tests/task-schema.xsd
work=$(mktemp -d "${TMPDIR:-/tmp}/tarvendel-schema.XXXXXX")
trap 'rm -rf "$work"' EXIT

if ! command -v xmllint >/dev/null; then
    echo "task-schema-test: xmllint is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
fi

checks=0
failures=0
valid() { xmllint --noout --schema "$schema" "$1" 2>"$work/why" >/dev/null; }
# expect RESULT DESCRIPTION FILE: RESULT is pass or fail.
expect() {
    checks=$((checks + 1))
    if valid "$3"; then got=pass; else got=fail; fi
    if [ "$got" != "$1" ]; then
        failures=$((failures + 1))
        printf 'FAILED: %s (expected it to %s)\n' "$2" "$1"
        cat "$work/why"
    fi
}

mkdir "$work/defs"
# The tool runs under Wine and writes through drive Z:, the Unix root.
windows_path=$(printf 'Z:%s' "$work/defs" | tr '/' '\\')
if ! "$root/scripts/wine-run.sh" "$tool" "$windows_path"; then
    echo "FAILED: the program's definitions were not all written"
    failures=$((failures + 1))
fi

# --- The schema refuses what Windows refuses --------------------------------
# refusals NAME LABEL: the program's definition NAME, in UTF-8 for sed,
# passes; each fault on stdin ("what|sed pattern|replacement") is refused.
refusals() {
    [ -f "$work/defs/$1.xml" ] || return 0
    iconv -f UTF-16 -t UTF-8 "$work/defs/$1.xml" | sed 's/encoding="UTF-16"/encoding="UTF-8"/' \
        >"$work/$1-utf8.xml"
    expect pass "$2 in UTF-8" "$work/$1-utf8.xml"
    while IFS='|' read -r name from to; do
        sed "s#$from#$to#" "$work/$1-utf8.xml" >"$work/$name.xml"
        expect fail "the schema refuses $name" "$work/$name.xml"
    done
}

refusals plain "the plain definition" <<'EOF'
state change before its user|<UserId>\([^<]*\)</UserId><StateChange>SessionUnlock</StateChange>|<StateChange>SessionUnlock</StateChange><UserId>\1</UserId>
an unknown element|<Priority>|<Importance>1</Importance><Priority>
a priority out of range|<Priority>5<|<Priority>11<
an unknown state change|SessionUnlock|SessionUnlocked
a logon type misspelt|InteractiveToken|Interactive
a duration that is none|PT0S|zero
a missing action|<Exec>.*</Exec>|
an empty command|<Command>[^<]*</Command>|<Command></Command>
a context naming no principal|Context="User"|Context="Nobody"
two principals|</Principal>|</Principal><Principal id="Other"/>
a wake trigger without its query|<Subscription>.*</Subscription>|
EOF

# The alert task's time trigger.
refusals alert-plain "the plain alert definition" <<'EOF'
a time trigger without its start|<StartBoundary>[^<]*</StartBoundary>|
a start with one-digit parts|2026-12-09T09:05:00|2026-12-9T9:05:00
a start of no such day|2026-12-09T|2026-02-30T
a random delay before the start|<TimeTrigger><StartBoundary>|<TimeTrigger><RandomDelay>PT1M</RandomDelay><StartBoundary>
a wake flag that is no boolean|<WakeToRun>false|<WakeToRun>no
EOF

# --- Every definition the program writes passes -----------------------------
for name in plain blank renamed markup cyrillic polish longest \
    alert-plain alert-blank alert-markup alert-longest; do
    if [ -f "$work/defs/$name.xml" ]; then
        expect pass "the $name definition, as registered" "$work/defs/$name.xml"
    else
        checks=$((checks + 1))
        failures=$((failures + 1))
        echo "FAILED: no $name definition was written"
    fi
done

if [ "$failures" -eq 0 ]; then
    echo "task-schema-test: all $checks checks held"
    exit 0
fi
echo "task-schema-test: $failures of $checks checks failed"
exit 1
