#include "EntryTable.h"

#include <windows.h>

#include <string.h>

ReminderEntry workEntry;

EntryTable::EntryTable()
    : valid(0), capacity(0), growBy(0), recordSize(0), count(0), records(NULL)
{
}

EntryTable::~EntryTable()
{
    if (records != NULL)
        GlobalFree(records);
}

ReminderEntry* EntryTable::InitTable(int initialCapacity, int growStep, int sizeOfRecord)
{
    capacity = initialCapacity;
    growBy = growStep;
    recordSize = sizeOfRecord;
    valid = 1;
    if (records != NULL)
        GlobalFree(records);
    records = static_cast<ReminderEntry*>(
        GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (SIZE_T)recordSize * (SIZE_T)capacity));
    if (records == NULL) {
        capacity = 0;
        valid = 0;
    }
    return records;
}

ReminderEntry* EntryTable::GrowTable()
{
    if (records == NULL)
        return NULL;
    SIZE_T needed = (SIZE_T)(capacity + growBy) * (SIZE_T)recordSize;
    SIZE_T held = GlobalSize(records);
    if (held < needed) {
        // The block grows by half at a time behind the 75-record steps: a
        // reallocation copies the whole table, and one per step made loading
        // a large file take time that grows with the square of its size.
        SIZE_T ahead = held + held / 2;
        void* grown = GlobalReAlloc(records, ahead > needed ? ahead : needed,
                                    GMEM_MOVEABLE | GMEM_ZEROINIT);
        if (grown == NULL && ahead > needed)
            grown = GlobalReAlloc(records, needed, GMEM_MOVEABLE | GMEM_ZEROINIT);
        if (grown == NULL) {
            valid = 0;
            return records;
        }
        records = static_cast<ReminderEntry*>(grown);
    }
    capacity += growBy;
    return records;
}

int EntryTable::RemoveAt(int index)
{
    if (records == NULL || index < 0 || index >= count)
        return 0;
    memmove(records + index, records + index + 1,
            (size_t)(count - index - 1) * sizeof(ReminderEntry));
    --count;
    memset(records + count, 0, sizeof(ReminderEntry));
    return 1;
}
