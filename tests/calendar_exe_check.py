"""Runs Tarvendel.exe /EXPORT under Wine on a data file and reads the calendar
it wrote with the independent iCalendar parser: every event's summary,
start, time and yearly rule must match the data file's line.
Usage: calendar_exe_check.py wine-run.sh Tarvendel.exe work-dir. Exit 77 (a
skip to ctest) when the parser is not installed."""
import datetime
import os
import shutil
import subprocess
import sys

try:
    import icalendar
except ImportError:
    print("python3-icalendar is not installed: skipped")
    sys.exit(77)

# Data-file lines (the system's code page, Windows-1252 in the test prefix):
# text, month, day, year (None: every year), time.
LINES = [
    ("Christmas", 12, 25, None, None),
    ("Parade", 7, 4, None, (9, 0)),
    ("Leap day", 2, 29, None, None),
    ("Dentist; \\ bring, card", 3, 15, 2030, (14, 30)),
    ("Caf\u00e9 cr\u00e8me \u20ac", 1, 10, 2030, None),
    ("\u00e9" * 40 + "x" * 43, 12, 31, 2050, (23, 59)),
]


def data_line(text, month, day, year, time):
    date = "%02d/%02d" % (month, day) + ("/%02d" % (year % 100) if year else "")
    return date + ("\t%02d:%02d" % time if time else "") + " " + text + "\r\n"


def main():
    wine_run, exe, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    # A data file beside the program is moved into the prefix's data folder.
    shutil.copy(exe, os.path.join(work, "Tarvendel.exe"))
    with open(os.path.join(work, "Tarvendel.dat"), "wb") as f:
        f.write("".join(data_line(*line) for line in LINES).encode("cp1252"))
    out = os.path.join(work, "out.ics")
    today = datetime.date.today()
    run = subprocess.run(["sh", wine_run, os.path.join(work, "Tarvendel.exe"), "/EXPORT",
                          "Z:" + out.replace("/", "\\")], timeout=120)
    if run.returncode != 0:
        print("exit code %d" % run.returncode)
        return 1
    data = open(out, "rb").read()
    events = [c for c in icalendar.Calendar.from_ical(data.decode("utf-8")).walk()
              if c.name == "VEVENT"]
    by_text = {str(e.get("SUMMARY")): e for e in events}
    failures = []
    if len(events) != len(LINES):
        failures.append("%d events, expected %d" % (len(events), len(LINES)))
    for text, month, day, year, time in LINES:
        event = by_text.get(text)
        if event is None:
            failures.append("no event %r" % text)
            continue
        start = event.decoded("DTSTART")
        rule = event.get("RRULE")
        rule = rule.to_ical().decode() if rule is not None else None
        timed = isinstance(start, datetime.datetime)
        if timed != (time is not None) or (timed and (start.hour, start.minute) != time):
            failures.append("%s: start %r, time %r" % (text, start, time))
        day_of = start.date() if timed else start
        if year is not None:
            if day_of != datetime.date(year, month, day) or rule is not None:
                failures.append("%s: one-off %r, rule %r" % (text, start, rule))
        elif (month, day) == (2, 29):
            # Where the program shows it in a common year: 1 March.
            if rule != "FREQ=YEARLY;BYYEARDAY=60" or (day_of.month, day_of.day) not in ((2, 29), (3, 1)):
                failures.append("%s: leap day %r, rule %r" % (text, start, rule))
        elif (rule != "FREQ=YEARLY" or (day_of.month, day_of.day) != (month, day)
              or not today <= day_of < today + datetime.timedelta(days=366)):
            failures.append("%s: annual %r, rule %r (next occurrence from %s)" % (text, start, rule, today))
    for failure in failures:
        print(failure)
    print("%d events checked, %d failures" % (len(events), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
