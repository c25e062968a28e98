// Control ids of the dialog templates. Several dialogs reuse 1005 for their
// one edit box, so it carries a name per dialog.
#pragma once

// Reminder dialog
#define IDC_HOUR 1003
#define IDC_MINUTE 1004
#define IDC_REMINDER_TEXT 1005
#define IDC_AM 1011
#define IDC_PM 1012
#define IDC_EVERY_YEAR 1017
#define IDC_INCLUDE_TIME 1018
#define IDC_CALENDAR 1019

// Setup dialog
#define IDC_RANGE 1005
#define IDC_AUTO_REMOVE 1007
#define IDC_RUN_ONCE 1008
#define IDC_ASK_TIME 1009
#define IDC_TIME_COL 1010
#define IDC_ALWAYS_RUN 1013
#define IDC_RUN_AT_STARTUP 1016
#define IDC_ALERTS 1020

// Info dialog
#define IDC_HELP_TEXT 1005
