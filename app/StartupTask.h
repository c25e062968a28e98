// The scheduled task that has the program look at the reminders again when
// the user's session is unlocked and when the computer wakes from sleep:
// most people lock the screen or let the computer sleep far more often than
// they log on.
#pragma once

#include <stddef.h>

const size_t kTaskXmlSize = 4096;

// The task's definition as task XML: it starts programFile (quoted) with RUN,
// as the user userId (a user name or SID), only while that user is logged
// on, with the user's own rights, also on battery, one at a time and without
// a time limit. Returns 0 when it did not fit.
int BuildTaskDefinition(const char* programFile, const char* userId, char* xml, size_t size);

// Registers the task for programFile (a full path) as the current user, or
// replaces it; 0 on failure.
int RegisterStartupTask(const char* programFile);
// Deletes the task; 0 on failure, also when there was none.
int DeleteStartupTask();
