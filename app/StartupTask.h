// The scheduled task that has the program look at the reminders again when
// the user's session is unlocked and when the computer wakes from sleep:
// most people lock the screen or let the computer sleep far more often than
// they log on.
//
// Each user of the computer has a task of their own, named with the user's
// SID, so that one user's switch neither takes nor replaces another's.
#pragma once

#include <stddef.h>

// Sizes in wchar_t elements.
const size_t kTaskXmlLength = 4096;
const size_t kTaskNameLength = 200;
// The scheduler refuses a longer command (its schema's pathType).
const size_t kLongestTaskCommand = 260;

// The task's definition as task XML: it starts programFile (quoted when it
// holds a blank) with RUN, as the user userId (a SID), only while that user
// is logged on, with the user's own rights, also on battery, one at a time
// and without a time limit. Returns 0 when it did not fit, or when the
// command would be longer than the scheduler takes.
int BuildTaskDefinition(const wchar_t* programFile, const wchar_t* userId, wchar_t* xml,
                        size_t count);

// The SID of the user the program runs as, as text; 0 when unknown.
int CurrentUserSid(wchar_t* sid, size_t count);
// "Tarvendel-" and the current user's SID; 0 when unknown.
int StartupTaskName(wchar_t* name, size_t count);

// Appends text to xml as XML character data: a folder name may hold '&',
// which would otherwise make the whole definition unreadable.
int AppendEscaped(wchar_t* xml, size_t count, const wchar_t* text);

// A piece of a task definition: markup as it stands, or text to escape.
struct TaskXmlPiece {
    const wchar_t* text;
    int escaped;
};
// Writes the pieces, in order, into xml; 0 when they do not all fit.
int WriteTaskXml(wchar_t* xml, size_t count, const TaskXmlPiece* pieces, size_t pieceCount);

// Any task of the program's, by name in the scheduler's root folder: the
// same three steps, with the scheduler's error code in *error on failure.
int RegisterTaskDefinition(const wchar_t* name, const wchar_t* xml, long* error);
// 1 when it is gone, also when there was none.
int DeleteTaskNamed(const wchar_t* name, long* error);
// 1 when it exists, 0 when not, -1 when the scheduler could not be asked.
int TaskNamedExists(const wchar_t* name);

// Registers this user's task for programFile (a full path), or replaces it.
// 0 on failure, with the scheduler's error code in *error.
int RegisterStartupTask(const wchar_t* programFile, long* error);
// Deletes this user's task. 1 when it is gone, also when there was none; 0
// when it is there and could not be deleted, the error in *error.
int DeleteStartupTask(long* error);
// 1 when this user's task exists, 0 when not, -1 when the scheduler could
// not be asked.
int StartupTaskExists();
// Earlier versions registered one task, "\Tarvendel", for the whole
// computer. Deletes it when it runs as the current user; 1 when it did.
int RemoveSharedStartupTask();
