// The objects that live for the whole run.
#pragma once

#include "../controls/AboutBox.h"
#include "../core/Application.h"
#include "../core/EntryTable.h"
#include "../framework/ButtonBar.h"
#include "ReminderDialog.h"
#include "../framework/StatusBar.h"

extern ButtonBar buttonBar;
extern StatusBar statusBar;
extern ListBoxControl listBox;
