// The objects that live for the whole run. They are defined in this one file
// because C++ orders the construction of statics only within a file: they are
// built top to bottom before WinMain (the boxes first, so "CMSGCLASS" is
// registered before anything can report an error) and destroyed bottom to top
// after it returns.
#include "ProgramObjects.h"
#include "AlertWindow.h"

MessageBoxWindow messageBox;
AboutBoxWindow aboutBox;
AlertWindow alertWindow;
EntryTable entryTable;
ReminderDialog reminderDialog;
Application theApp;
ButtonBar buttonBar;
StatusBar statusBar;
ListBoxControl listBox;
ButtonControl boxButtons[3];
