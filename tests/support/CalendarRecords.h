// A reminder as the calendar reader hands it over and the writer takes it.
#pragma once

#include "core/CalendarRecord.h"

#include <stdint.h>
#include <stdio.h>

inline CalendarRecord Reminder(int year, int month, int day, int hasTime, int hour, int minute,
                               const char* text)
{
    CalendarRecord r = {};
    r.year = (uint16_t)year;
    r.month = (uint16_t)month;
    r.day = (uint16_t)day;
    r.hasTime = (uint16_t)hasTime;
    r.hour = (uint16_t)hour;
    r.minute = (uint16_t)minute;
    snprintf(r.text, sizeof r.text, "%s", text);
    return r;
}
