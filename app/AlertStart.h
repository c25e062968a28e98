// The start the alert task makes (/RALERT).
#pragma once

// Shows the timed reminders whose time came since the last alert shown, at
// most a day back, and those a snooze brings back, then sets the task for
// the next. Ends at once with 0 when none is due; with a non-zero code and
// nothing shown when the file cannot be read: it never speaks unasked.
int RunAlertStart();
