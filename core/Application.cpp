#include "Application.h"

#include <string.h>

DateRecord today;

Application::Application()
    : bigIcon(NULL), smallIcon(NULL), bigIconOwned(0), smallIconOwned(0), AlwaysRun(0), AskTime(0), AutoRemove(1), RunOnce(1), TimeCol(1), modified(0),
      reminderMode(0), firstRun(0), runAtStartup(0), Range(10), entryCount(0), missedCount(0), handOverWaiting(0), listFilled(0), RunDay(99),
      RunDate(0), ShownDate(0), textBuffer(NULL), parseCursor(NULL), textBufferSize(0), textMapped(0)
{
    programPath[0] = '\0';
    programFile[0] = '\0';
    dataFolder[0] = '\0';
    dataFilePath[0] = '\0';
    memset(&workDate, 0, sizeof workDate);
    DeclinedOldFile[0] = DeclinedOldFile[1] = 0;
    missedSpan.first = missedSpan.oneOffFirst = missedSpan.end = 0;
    missedSpan.oneOffFirstYear = 0;
    missedSpanShownDate = missedSpanToday = 0;
    alertStart = alertScanned = scannedAhead = badDates = 0;
    quietNextDay = 0;
    alertError = 0;
    memset(&scannedDate, 0, sizeof scannedDate);
    memset(&alertScan, 0, sizeof alertScan);
    LoadAlertSettings(NULL);
}

void Application::ReleaseTextBuffer()
{
    if (textBuffer != NULL && textMapped)
        UnmapViewOfFile(textBuffer);
    else if (textBuffer != NULL)
        GlobalFree(textBuffer);
    textBuffer = NULL;
    textMapped = 0;
    parseCursor = NULL;
    textBufferSize = 0;
}

unsigned DateStamp(const DateRecord* date)
{
    return date->year * 10000u + date->month * 100u + date->day;
}
