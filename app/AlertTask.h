// The alert task: it starts the program with /RALERT at the next timed
// reminder, so that nothing needs to keep running until then. Each user has
// a task of their own, named with the user's SID, beside the start-up task.
#pragma once

#include "../core/NextAlert.h"

#include <stddef.h>

// The definition as task XML: one time trigger at 'when' (local time), run
// as soon as possible after a start that was missed (the computer off or
// asleep) but never waking the computer, starting programFile in quotes
// with /RALERT as the user userId. 0 when it does not fit or the command
// would be longer than the scheduler takes.
int BuildAlertTaskDefinition(const wchar_t* programFile, const wchar_t* userId, AlertMinute when,
                             wchar_t* xml, size_t count);
// "Tarvendel-Alert-" and the current user's SID; 0 when unknown.
int AlertTaskName(wchar_t* name, size_t count);
// Registers or replaces this user's alert task for the running program.
// 0 on failure, the scheduler's error code in *error.
int RegisterAlertTask(AlertMinute when, long* error);
// 1 when this user's alert task is gone, also when there was none.
int DeleteAlertTask(long* error);
// 1 when it exists, 0 when not, -1 when the scheduler could not be asked.
int AlertTaskExists();
