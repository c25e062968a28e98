// Every id the resources and the code share, named once.
#pragma once

#include "DialogIds.h"

// Resources
#define IDR_ACCELERATORS 101
#define IDD_REMINDER 102
#define IDD_SETUP 103
#define IDD_INFO 104
#define IDI_TARVENDEL 105
#define IDR_HAND_CURSOR 1014

// Commands of the button bar and the Alt keys
#define IDM_EXIT 40001
#define IDM_ADD 40002
#define IDM_SETUP 40003
#define IDM_EDIT 40004
#define IDM_ABOUT 40005
#define IDM_REMOVE 40006
#define IDM_MODE 40007
#define IDM_INFO 40008
#define IDM_SAVE 40009

// Commands of the list's context menu
#define IDM_EXPORT_CALENDAR 40010
#define IDM_IMPORT_CALENDAR 40011

// Private message of the bar buttons; its value lies in the application range
// above WM_APP (0x8000), which no system class uses.
#define WM_BUTTONHOVER 0xFA7E

// WM_NOTIFY code of the calendar control
#define DATE_CHANGED 0x201
