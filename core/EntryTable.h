// The reminders in memory: one growable block of fixed records.
#pragma once

#include <stdint.h>

struct ReminderEntry {
    char sortKey[12];    // YYYYMMDD; an annual entry has its next occurrence's year
    uint32_t removed;    // a past one-off reminder, left out of the next save
    uint32_t annual;     // recurs every year: its date in the file has no year
    int32_t hasTime;
    uint32_t isToday;    // its date, or next occurrence, is today
    uint32_t dayOfWeek;  // 0 = Sunday
    char dateText[10];   // MM/DD/YY
    char timeText[10];   // hh:mm AM or hh:mm PM
    char text[84];
};
static_assert(sizeof(ReminderEntry) == 136, "ReminderEntry is a fixed 136-byte record");

class EntryTable {
public:
    EntryTable();
    ~EntryTable();

    // Allocates a zero-filled block for capacity records; null on failure.
    ReminderEntry* InitTable(int initialCapacity, int growStep, int sizeOfRecord);
    // Enlarges the block by growBy zero-filled records; the old block after a failure.
    ReminderEntry* GrowTable();
    // Removes record index of count records, moving the ones behind it down;
    // 0 when there is no such record.
    int RemoveAt(int index);

    uint32_t valid;
    int capacity;
    int growBy;
    int recordSize;
    int count;
    ReminderEntry* records;

private:
    EntryTable(const EntryTable&);
    EntryTable& operator=(const EntryTable&);
};

extern EntryTable entryTable;
// What the reminder dialog fills and Add and Edit copy into the table.
extern ReminderEntry workEntry;
