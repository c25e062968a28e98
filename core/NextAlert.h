// When the next alert is due, and which reminders an alert start shows.
// Times are whole minutes counted from 1 January 1980, 00:00 local time, so
// that they fit a registry number and compare as plain integers.
// Kept free of <windows.h>: the rules are tested natively too.
#pragma once

#include "DateTime.h"

typedef unsigned long AlertMinute; // 0: none

AlertMinute MinuteOf(const DateRecord* dateAndTime);
// The date, hour and minute of a minute count (day of week filled too).
void DateOfMinute(AlertMinute minute, DateRecord* out);

// What the settings keep about alerts.
struct AlertState {
    int on;                  // "Alerts": the user wants them
    AlertMinute shown;       // the last alert start that showed its reminders
    AlertMinute snoozeUntil; // a snooze pending, 0 when none
    AlertMinute snoozeFrom;  // the reminders it brings back: those falling due
    AlertMinute snoozeTo;    //   from snoozeFrom to snoozeTo, both included
};

// How far back an alert start still shows a reminder it missed.
const AlertMinute kAlertLookBack = 24 * 60;

// The reminder on date (year 0: every year; a 29 February then falls on
// 1 March of a common year) at the time of timeToken, as the data file
// writes it (24-hour, or 12-hour ending in A or P): its first occurrence
// after 'after', 0 when none or when date or time do not read.
AlertMinute OccurrenceAfter(const DateRecord* date, const char* timeToken, AlertMinute after);
// Its latest occurrence in (from, to], 0 when none.
AlertMinute LatestOccurrenceIn(const DateRecord* date, const char* timeToken, AlertMinute from,
                               AlertMinute to);

// The scan for the next timed reminder, fed line by line.
struct NextAlertScan {
    AlertMinute now;
    AlertMinute next; // the earliest occurrence after now so far, 0 for none
};
void StartAlertScan(NextAlertScan* scan, AlertMinute now);
// One reminder; a line without a time is passed over at once, and so is a
// one-off date already past, before its time is read.
void NoteTimedReminder(NextAlertScan* scan, const DateRecord* date, const char* timeToken);
// When the alert task is to start the program next: the earliest of the
// next reminder and a snooze still pending; 0 with alerts off or nothing ahead.
AlertMinute NextAlertTime(const NextAlertScan* scan, const AlertState* state);

// At an alert start at now: whether the reminder is to be shown, because it
// fell due since the last alert shown (at most kAlertLookBack back) or a
// snooze that is over brings it back; *when gets the occurrence.
int IsDueForAlert(const DateRecord* date, const char* timeToken, const AlertState* state,
                  AlertMinute now, AlertMinute* when);
