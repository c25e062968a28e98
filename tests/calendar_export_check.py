"""Reads an export with the independent iCalendar parser and checks every
event's summary, start, time and yearly rule, and the file's line form.
Usage: calendar_export_check.py CalendarExportSample work-dir. Exit 77 (a
skip to ctest) when the parser is not installed."""
import datetime
import os
import subprocess
import sys

try:
    import icalendar
    from dateutil import rrule
except ImportError:
    print("python3-icalendar is not installed: skipped")
    sys.exit(77)

# The reminders CalendarExportSample writes on 15 June 2027: text, start
# (a date, or a date and time), and whether it repeats every year.
D, T = datetime.date, datetime.datetime
EXPECTED = [
    ("Dentist", D(2027, 3, 15), None),
    ("Train at 9:05, platform 3; bring \\ tickets", T(2027, 8, 1, 9, 5), None),
    ("Anna's birthday", D(2028, 4, 12), "FREQ=YEARLY"),
    ("Christmas Eve dinner", T(2027, 12, 24, 18, 30), "FREQ=YEARLY"),
    ("Leap-day birthday", D(2028, 2, 29), "FREQ=YEARLY;BYYEARDAY=60"),
    ("Café crème brûlée € with a text long enough to be folded more than once, ééééé",
     T(2050, 12, 31, 23, 59), None),
]


def main():
    tool, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    path = os.path.join(work, "export.ics")
    subprocess.run([tool, path], check=True)
    data = open(path, "rb").read()

    failures = []
    lines = data.split(b"\r\n")
    if lines[-1] != b"" or b"\n" in b"".join(lines) or b"\r" in b"".join(lines):
        failures.append("lines must end in CRLF and only there")
    for line in lines:
        if len(line) > 75:
            failures.append("a line of %d octets: %r" % (len(line), line))
        try:
            line.decode("utf-8")
        except UnicodeDecodeError:
            failures.append("a fold inside a UTF-8 sequence: %r" % line)

    calendar = icalendar.Calendar.from_ical(data.decode("utf-8"))
    events = [c for c in calendar.walk() if c.name == "VEVENT"]
    if len(events) != len(EXPECTED):
        failures.append("%d events, expected %d" % (len(events), len(EXPECTED)))
    uids = set()
    for event, (text, start, rule) in zip(events, EXPECTED):
        summary = str(event.get("SUMMARY"))
        got = event.decoded("DTSTART")
        if summary != text:
            failures.append("summary %r, expected %r" % (summary, text))
        if type(got) is not type(start) or got != start:
            failures.append("%s: start %r, expected %r" % (text, got, start))
        if isinstance(got, datetime.datetime) and got.tzinfo is not None:
            failures.append("%s: a local time must carry no zone" % text)
        got_rule = event.get("RRULE")
        got_rule = got_rule.to_ical().decode() if got_rule is not None else None
        if got_rule != rule:
            failures.append("%s: rule %r, expected %r" % (text, got_rule, rule))
        uids.add(str(event.get("UID")))
        if event.get("DTSTAMP") is None or event.decoded("DTSTAMP") != T(2027, 6, 15, 8, 30,
                                                                         tzinfo=datetime.timezone.utc):
            failures.append("%s: DTSTAMP %r" % (text, event.get("DTSTAMP")))
        if rule is not None:
            # Where the years take a yearly reminder, as the program shows it:
            # the same day, a leap-day one on 1 March of a common year.
            first = T(start.year, start.month, start.day)
            days = [d.date() for d in rrule.rrulestr(rule, dtstart=first)[:4]]
            want = [D(y, start.month, start.day) for y in range(start.year, start.year + 4)] \
                if (start.month, start.day) != (2, 29) else \
                [D(2028, 2, 29), D(2029, 3, 1), D(2030, 3, 1), D(2031, 3, 1)]
            if days != want:
                failures.append("%s: occurs on %r, expected %r" % (text, days, want))
    if len(uids) != len(EXPECTED):
        failures.append("UIDs must differ: %r" % sorted(uids))

    for failure in failures:
        print("FAIL:", failure)
    print("%d events read back, %d failures" % (len(events), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
