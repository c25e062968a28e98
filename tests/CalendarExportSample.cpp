// Writes a fixed set of reminders as the export writes them, on a fixed day,
// for calendar_export_check.py to read with a parser of its own.
#include "core/CalendarWriter.h"
#include "support/CalendarRecords.h"

#include <stdio.h>
#include <string.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: CalendarExportSample out.ics\n");
        return 2;
    }
    const CalendarRecord records[] = {
        Reminder(2027, 3, 15, 0, 0, 0, "Dentist"),
        Reminder(2027, 8, 1, 1, 9, 5, "Train at 9:05, platform 3; bring \\ tickets"),
        Reminder(0, 4, 12, 0, 0, 0, "Anna's birthday"),
        Reminder(0, 12, 24, 1, 18, 30, "Christmas Eve dinner"),
        Reminder(0, 2, 29, 0, 0, 0, "Leap-day birthday"),
        Reminder(2050, 12, 31, 1, 23, 59, "Caf\xC3\xA9 cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e \xE2\x82\xAC "
                                            "with a text long enough to be folded more than once, "
                                            "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"),
    };
    static char buffer[kCalendarFrameSize + sizeof records / sizeof records[0] * kCalendarEventMaxSize];
    CalendarWriter writer;
    DateRecord stamp = {2027, 6, 0, 15, 8, 30, 0, 0};
    DateRecord today = {2027, 6, 0, 15, 0, 0, 0, 0};
    BeginCalendarFile(&writer, buffer, sizeof buffer, &stamp, &today);
    for (const CalendarRecord& r : records)
        if (!WriteCalendarEvent(&writer, &r))
            return 1;
    if (!EndCalendarFile(&writer))
        return 1;
    FILE* out = fopen(argv[1], "wb");
    if (out == NULL || fwrite(buffer, 1, writer.used, out) != writer.used || fclose(out) != 0)
        return 1;
    return 0;
}
