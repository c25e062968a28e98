// Twenty thousand random commands against the real main window (Add, Edit,
// Remove, Save, Mode and Setup), with the table, the list, the status bar and
// the saved file checked against a model after every step, and the process's
// window-system objects, handles and memory the same at the end as after the
// first hundred steps.
#include "app/ProgramObjects.h"
#include "controls/CustomControl.h"
#include "core/BoundedString.h"
#include "core/EntryTable.h"
#include "resources/resource.h"
#include "support/AppState.h"
#include "support/CivilDate.h"
#include "support/DialogDriver.h"
#include "support/TestFiles.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <stdio.h>
#include <string.h>

namespace {

const int kSteps = 20000;
const int kBaselineStep = 100;
// The table grows past its first block of 100 in the first hundred steps and
// then stays within its second, of 175, so that its memory is the same at the end.
const int kMostReminders = 110;
const int kFewestReminders = 30;

// --- the model -------------------------------------------------------------

struct Reminder {
    int annual;
    int year, month, day; // for an annual reminder, its next occurrence
    int hasTime, hour, minute;
    std::string text;
    std::string key; // YYYYMMDD, made once: the model is sorted at most steps
};

// The program's today, as ProgramWindowTest sets it.
const int kTodayYear = 2006, kTodayMonth = 12, kTodayDay = 7;

int NextOccurrence(int month, int day)
{
    int before = month < kTodayMonth || (month == kTodayMonth && day < kTodayDay);
    return kTodayYear + before;
}

std::string Format(const char* format, int a, int b, int c = 0)
{
    char text[32];
    snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string MakeKey(const Reminder& r)
{
    return Format("%04d%02d", r.year, r.month) + Format("%02d", r.day, 0);
}

std::string Time12(const Reminder& r)
{
    return Format("%02d:%02d", r.hour % 12 == 0 ? 12 : r.hour % 12, r.minute) +
           (r.hour < 12 ? " AM" : " PM");
}

std::string ListLine(const Reminder& r, int timeColumn)
{
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::string line = std::string(days[Weekday(r.year, r.month, r.day)]) + "  " +
                       Format("%02d/%02d/%02d", r.month, r.day, r.year % 100) + "  ";
    if (r.hasTime)
        line += Time12(r) + "  ";
    else if (timeColumn)
        line += std::string(10, ' ');
    return line + r.text;
}

std::string FileText(const std::vector<Reminder>& reminders)
{
    std::string file;
    for (const Reminder& r : reminders) {
        file += r.annual ? Format("%02d/%02d", r.month, r.day)
                         : Format("%02d/%02d/%02d", r.month, r.day, r.year % 100);
        if (r.hasTime)
            file += "\t" + Format("%02d:%02d", r.hour, r.minute);
        file += " " + r.text + "\r\n";
    }
    return file;
}

int DaysAhead(const Reminder& r)
{
    return (int)(CivilDays(r.year, r.month, r.day) - CivilDays(kTodayYear, kTodayMonth, kTodayDay));
}

// The record the reminder dialog's OK makes of a reminder.
ReminderEntry AsRecord(const Reminder& r)
{
    ReminderEntry e;
    memset(&e, 0, sizeof e);
    e.annual = (uint32_t)r.annual;
    e.hasTime = r.hasTime;
    e.isToday = r.year == kTodayYear && r.month == kTodayMonth && r.day == kTodayDay;
    e.dayOfWeek = (uint32_t)Weekday(r.year, r.month, r.day);
    CopyText(e.dateText, sizeof e.dateText, Format("%02d/%02d/%02d", r.month, r.day, r.year % 100).c_str());
    CopyText(e.sortKey, sizeof e.sortKey, r.key.c_str());
    if (r.hasTime)
        CopyText(e.timeText, sizeof e.timeText, Time12(r).c_str());
    CopyText(e.text, sizeof e.text, r.text.c_str());
    return e;
}

// --- modal windows -----------------------------------------------------------

// Enters the reminder in the open reminder dialog as a user would, and presses OK.
Step EnterReminder(const Reminder& r)
{
    return [r](HWND dialog) {
        SetChecked(dialog, IDC_EVERY_YEAR, r.annual);
        PickDate(r.annual ? 0 : r.year, r.month, r.day)(dialog);
        SetChecked(dialog, IDC_INCLUDE_TIME, r.hasTime);
        PickTime(r.hour, r.minute)(dialog);
        SetDlgItemTextA(dialog, IDC_REMINDER_TEXT, r.text.c_str());
        Press(IDOK)(dialog);
    };
}

// --- what the process holds --------------------------------------------------

// Wine does not count GUI objects per process; its handle tables still answer
// for a 16-bit handle, so the live objects are counted by trying each.
struct Usage {
    long gdi, user, handles;
    SIZE_T memory; // committed private bytes: they swing by a megabyte or so from step to step
    SIZE_T heaps;  // bytes in use in all heaps: exact, whatever allocates them
};

SIZE_T HeapBytesInUse()
{
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    SIZE_T used = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                used += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return used;
}

Usage Measure()
{
    Usage usage;
    HANDLE self = GetCurrentProcess();
    usage.gdi = GdiObjects();
    usage.user = (long)GetGuiResources(self, GR_USEROBJECTS);
    if (usage.user == 0) {
        for (ULONG_PTR h = 0x20; h < 0x10000; h += 2) {
            DWORD owner = 0;
            if (IsWindow((HWND)h) && GetWindowThreadProcessId((HWND)h, &owner) &&
                owner == GetCurrentProcessId())
                ++usage.user;
        }
    }
    DWORD handles = 0;
    if (!GetProcessHandleCount(self, &handles) || handles == 0)
        for (ULONG_PTR h = 4; h < 0x10000; h += 4) {
            DWORD flags;
            handles += GetHandleInformation((HANDLE)h, &flags) != 0;
        }
    usage.handles = (long)handles;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(self, &counters, sizeof counters);
    usage.memory = counters.PagefileUsage;
    usage.heaps = HeapBytesInUse();
    return usage;
}

// --- the soak -------------------------------------------------------------------

class Soak : public ProgramWindowTest {
protected:
    std::mt19937 random{20061207};
    int Chance(int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    // A reminder on a day no other one has. Through the dialog, the calendar
    // lists ten years from two before the one it opened on, and shows an
    // annual reminder in that year; the time lists go in steps of five minutes.
    Reminder NewReminder(int throughDialog, int openedYear, int except)
    {
        for (;;) {
            Reminder r;
            r.annual = Chance(40);
            if (Chance(30)) { // soon: the Reminder-mode list has something to show
                r.year = kTodayYear;
                r.month = kTodayMonth;
                r.day = kTodayDay;
                for (int n = Between(0, 25); n > 0; --n) {
                    if (++r.day > DaysIn(r.year, r.month)) {
                        r.day = 1;
                        if (++r.month > 12) {
                            r.month = 1;
                            ++r.year;
                        }
                    }
                }
            } else if (throughDialog) {
                r.year = Between(std::max(1998, openedYear - 2), std::min(2050, openedYear + 7));
                r.month = Between(1, 12);
                r.day = Between(1, DaysIn(r.annual ? openedYear : r.year, r.month));
            } else {
                r.year = Between(1998, 2050);
                r.month = Between(1, 12);
                r.day = Between(1, r.annual ? DaysIn(2000, r.month) : DaysIn(r.year, r.month));
            }
            if (throughDialog && r.annual && r.day > DaysIn(openedYear, r.month))
                continue;
            if (throughDialog && !r.annual &&
                (r.year < openedYear - 2 || r.year > openedYear + 7))
                continue;
            if (r.annual)
                r.year = NextOccurrence(r.month, r.day);
            r.hasTime = Chance(50);
            r.hour = Between(0, 23);
            r.minute = throughDialog ? 5 * Between(0, 11) : Between(0, 59);
            r.text = NewText(throughDialog);
            r.key = MakeKey(r);
            int taken = 0;
            for (int i = 0; i < (int)model.size(); ++i)
                taken |= i != except && model[i].key == r.key;
            if (!taken)
                return r;
        }
    }

    std::string NewText(int throughDialog)
    {
        static const char* const words[] = {"Dentist", "Pay rent", "Anna's birthday", "3 Kings",
                                            "9:30 meeting", "Caf\xe9", "Mum & Dad", "P.M. tea"};
        std::string text = words[Between(0, 7)];
        for (int n = Between(0, throughDialog ? 60 : 70); n > 0; --n)
            text += (char)Between(32, 126);
        return text.substr(0, throughDialog ? 80 : 83);
    }

    void Sort()
    {
        std::sort(model.begin(), model.end(),
                  [](const Reminder& a, const Reminder& b) { return a.key < b.key; });
    }

    // The year the reminder dialog's calendar opens on for the record, as Edit shows it.
    int OpenedYear(const Reminder& r)
    {
        if (r.annual && r.month == 2 && r.day == 29)
            for (int year = kTodayYear + 1;; ++year)
                if (DaysIn(year, 2) == 29)
                    return year;
        return r.year;
    }

    void Select(int index) { SendMessageA(listBox.window, LB_SETCURSEL, index, 0); }

    // A command that must do nothing in Reminder mode: its dialog, or its
    // question (answered No), must not even open.
    void Refused(void (Application::*command)(), const char* caption)
    {
        Drive([command] { (theApp.*command)(); }, caption, Press(IDCANCEL), IDNO);
        EXPECT_TRUE(driver.boxTexts.empty());
        EXPECT_EQ(0, driver.dialogs);
    }

    // Runs command, acting once on its dialog with script (cancelled three
    // ticks later if still open) and answering each of its boxes.
    void Drive(const std::function<void()>& command, const char* caption, Step script, int answer)
    {
        driver = DialogDriver(caption);
        driver.tickMs = USER_TIMER_MINIMUM;
        driver.graceTicks = 2;
        driver.boxAnswer = answer;
        driver.Run([&] { command(); return 0; }, script ? std::vector<Step>{script} : std::vector<Step>());
    }

    // Add or Edit through its dialog, one time in ten cancelled: 1 when the reminder went in.
    int Entered(void (Application::*command)(), const char* caption, const Reminder& r)
    {
        int cancel = Chance(10);
        Drive([command] { (theApp.*command)(); }, caption, cancel ? Press(IDCANCEL) : EnterReminder(r),
              IDOK);
        ++dialogRuns;
        EXPECT_EQ(1, driver.dialogs);
        EXPECT_TRUE(driver.boxTexts.empty()) << driver.boxTexts[0];
        return !cancel;
    }

    // The model changed as the table did; the list was rebuilt.
    void Changed()
    {
        Sort();
        modified = 1;
        Listed();
    }

    void Add(int throughDialog)
    {
        if (mode)
            return Refused(&Application::AddReminder, "Add");
        Reminder r = NewReminder(throughDialog, kTodayYear, -1);
        if (throughDialog) {
            if (!Entered(&Application::AddReminder, "Add", r))
                return;
        } else {
            // Most Adds skip the dialog: workEntry is filled as its OK fills
            // it, and the record goes in as the Add command puts it in.
            workEntry = AsRecord(r);
            entryTable.records[theApp.entryCount] = workEntry;
            ++theApp.entryCount;
            if (theApp.entryCount == entryTable.capacity)
                entryTable.GrowTable();
            entryTable.count = theApp.entryCount;
            theApp.modified = 1;
            theApp.RefreshList();
        }
        model.push_back(r);
        Changed();
    }

    void Edit(int throughDialog)
    {
        if (mode)
            return Refused(&Application::EditReminder, "Edit");
        int index = Between(0, (int)model.size() - 1);
        Reminder r = NewReminder(throughDialog, OpenedYear(model[index]), index);
        if (throughDialog) {
            Select(index);
            if (!Entered(&Application::EditReminder, "Edit", r))
                return;
        } else {
            // As Edit puts the dialog's workEntry over the selected record
            // (in Edit mode the selected line's position is its index).
            workEntry = AsRecord(r);
            entryTable.records[index] = workEntry;
            theApp.modified = 1;
            theApp.RefreshList();
        }
        model[index] = r;
        Changed();
    }

    void Remove(int throughBox)
    {
        if (mode)
            return Refused(&Application::RemoveReminder, "");
        int index = Between(0, (int)model.size() - 1);
        if (throughBox) {
            Select(index);
            int no = Chance(15);
            Drive([] { theApp.RemoveReminder(); }, "", Step(), no ? IDNO : IDYES);
            ++dialogRuns;
            EXPECT_EQ(std::vector<std::string>{model[index].text + "\n\nDelete this reminder?"},
                      driver.boxTexts);
            if (no)
                return;
        } else {
            // As Remove takes the record out once Yes was answered.
            entryTable.count = theApp.entryCount;
            ASSERT_EQ(1, entryTable.RemoveAt(index));
            --theApp.entryCount;
            theApp.modified = 1;
            theApp.RefreshList();
        }
        model.erase(model.begin() + index);
        Changed();
    }

    void Save()
    {
        SendMessageA(theApp.window, WM_COMMAND, MAKEWPARAM(IDM_SAVE, 0), 0);
        ++saves;
        modified = 0;
        std::string expected = FileText(model);
        int found = 0;
        std::string saved = ReadFileText(theApp.dataFilePath, &found);
        EXPECT_TRUE(found && saved == expected) << "the saved file differs from the model";
        if (saves > 1) {
            EXPECT_TRUE(ReadFileText(folder + "Tarvendel.bak") == lastSaved) << "the backup";
        }
        lastSaved = expected;
    }

    void Mode()
    {
        SendMessageA(theApp.window, WM_COMMAND, MAKEWPARAM(IDM_MODE, 0), 0);
        mode = 1 - mode;
        Listed();
    }

    void Setup(int throughDialog, int badRange = 0)
    {
        int range = badRange || Chance(10) ? (Chance(50) ? 0 : 21) : Between(1, 20);
        int timeCol = Chance(50), askTime = Chance(50), autoRemove = Chance(50);
        int refused = range < 1 || range > 20;
        if (throughDialog) {
            Drive([] { SendMessageA(theApp.window, WM_COMMAND, MAKEWPARAM(IDM_SETUP, 0), 0); },
                  "Setup",
                  [=](HWND dialog) {
                      SetDlgItemTextA(dialog, IDC_RANGE, std::to_string(range).c_str());
                      SetChecked(dialog, IDC_TIME_COL, timeCol);
                      SetChecked(dialog, IDC_ASK_TIME, askTime);
                      SetChecked(dialog, IDC_AUTO_REMOVE, autoRemove);
                      Press(IDOK)(dialog);
                  },
                  IDOK);
            ++dialogRuns;
            EXPECT_EQ(1, driver.dialogs);
            EXPECT_EQ(refused ? std::vector<std::string>{"Range must be 1 to 20"}
                              : std::vector<std::string>(),
                      driver.boxTexts);
            EXPECT_EQ(refused, driver.leftOpen);
            if (refused)
                return;
        } else {
            if (refused)
                return;
            // As the dialog's OK sets the options, and the Setup command
            // rebuilds the list only when the time column changed, or the
            // range in Reminder mode.
            int changed = timeCol != theApp.TimeCol || (mode && range != theApp.Range);
            theApp.Range = range;
            theApp.TimeCol = timeCol;
            theApp.AskTime = askTime;
            theApp.AutoRemove = autoRemove;
            if (changed)
                theApp.RefreshList();
        }
        int changed = timeCol != this->timeCol || (mode && range != this->range);
        this->range = range;
        this->timeCol = timeCol;
        EXPECT_EQ(range, theApp.Range);
        EXPECT_EQ(askTime, theApp.AskTime);
        EXPECT_EQ(autoRemove, theApp.AutoRemove);
        if (changed)
            Listed();
    }

    // The list was rebuilt: it shows the model with these options.
    void Listed()
    {
        listedRange = range;
        listedTimeCol = timeCol;
    }

    std::string Part(int index) { return StatusText(statusBar.window, index); }

    // The cheap checks after every step; the first one that fails says where.
    ::testing::AssertionResult Agrees()
    {
        if (theApp.entryCount != (int)model.size())
            return ::testing::AssertionFailure()
                   << theApp.entryCount << " records for " << model.size() << " reminders";
        for (int i = 0; i < (int)model.size(); ++i)
            if (model[i].key != entryTable.records[i].sortKey)
                return ::testing::AssertionFailure() << "record " << i << " has the key "
                                                     << entryTable.records[i].sortKey;
        std::vector<int> shown;
        for (int i = 0; i < (int)model.size(); ++i)
            if (!mode || (DaysAhead(model[i]) >= 0 && DaysAhead(model[i]) <= listedRange))
                shown.push_back(i);
        int lines = (int)SendMessageA(listBox.window, LB_GETCOUNT, 0, 0);
        if (lines != (int)shown.size())
            return ::testing::AssertionFailure() << lines << " lines for " << shown.size();
        if (lines > 0) {
            int line = Between(0, lines - 1);
            char text[256] = "";
            SendMessageA(listBox.window, LB_GETTEXT, line, (LPARAM)text);
            std::string expected = ListLine(model[shown[line]], listedTimeCol);
            if (text != expected)
                return ::testing::AssertionFailure() << "line " << line << " is \"" << text
                                                     << "\", not \"" << expected << "\"";
            if (SendMessageA(listBox.window, LB_GETITEMDATA, line, 0) != shown[line])
                return ::testing::AssertionFailure() << "line " << line << " has the wrong record";
        }
        if (Part(1) != (mode ? "\tReminder mode" : "\tEdit mode") ||
            Part(2) != std::to_string(model.size()) || Part(3) != (modified ? "Mod" : ""))
            return ::testing::AssertionFailure() << "the status bar shows " << Part(1) << " | "
                                                 << Part(2) << " | " << Part(3);
        return ::testing::AssertionSuccess();
    }

    DialogDriver driver;
    std::vector<Reminder> model;
    int mode = 0, modified = 0, range = 10, timeCol = 1, listedRange = 10, listedTimeCol = 1;
    int saves = 0, dialogRuns = 0;
    std::string lastSaved;
};

TEST_F(Soak, TwentyThousandCommandsLoseNothingAndLeakNothing)
{
    // The first steps open every kind of modal window once, the error box
    // too, so that what the system keeps from a first use (the boxes' icons)
    // is there before the baseline is taken.
    const char* const opening = "AAAEURSMMSUV";
    Usage baseline = {0, 0, 0, 0, 0};
    DWORD started = GetTickCount();
    for (int step = 1; step <= kSteps; ++step) {
        char op;
        if (step <= (int)strlen(opening)) {
            op = opening[step - 1];
        } else if (step <= kBaselineStep) {
            op = 'a';
        } else {
            int size = (int)model.size();
            int roll = Between(0, 99);
            if (mode)
                op = roll < 40 ? 'M' : roll < 55 ? 's' : roll < 70 ? 'u' : roll < 80 ? 'a' : roll < 90 ? 'e' : 'r';
            else
                op = roll < 28 ? 'a' : roll < 53 ? 'e' : roll < 73 ? 'r' : roll < 83 ? 's' : roll < 91 ? 'M' : 'u';
            if (op == 'a' && size >= kMostReminders)
                op = 'r';
            if ((op == 'r' || op == 'e') && size <= kFewestReminders && !mode)
                op = 'a';
            // A few of each go through the real dialogs and boxes.
            if ((op == 'a' || op == 'e' || op == 'r') && Chance(4))
                op = (char)(op - 'a' + 'A');
            if (op == 'u' && Chance(8))
                op = 'U';
        }
        if (model.empty() && (op == 'e' || op == 'E' || op == 'r' || op == 'R'))
            op = 'a';
        switch (op) {
        case 'A': Add(1); break;
        case 'a': Add(0); break;
        case 'E': Edit(1); break;
        case 'e': Edit(0); break;
        case 'R': Remove(1); break;
        case 'r': Remove(0); break;
        case 'S': case 's': Save(); break;
        case 'M': Mode(); break;
        case 'U': Setup(1); break;
        case 'V': Setup(1, 1); break;
        case 'u': Setup(0); break;
        }
        UpdateWindow(theApp.window); // paints the changed list lines now
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        ::testing::AssertionResult agrees = Agrees();
        if (!agrees || ::testing::Test::HasFailure()) {
            ADD_FAILURE() << "step " << step << " (" << op << "): " << agrees.message();
            return;
        }
        if (step == kBaselineStep)
            baseline = Measure();
    }
    if (mode)
        Mode();
    Save();
    Usage end = Measure();
    printf("%d steps in %lu s, %d through dialogs and boxes, %d saves, %d reminders kept\n", kSteps,
           (GetTickCount() - started) / 1000, dialogRuns, saves, (int)model.size());
    printf("at step %d: %ld GDI, %ld USER objects, %ld handles, %lu KiB in heaps, %lu KiB "
           "committed\nat the end: %ld, %ld, %ld, %lu KiB, %lu KiB\n",
           kBaselineStep, baseline.gdi, baseline.user, baseline.handles,
           (unsigned long)(baseline.heaps / 1024), (unsigned long)(baseline.memory / 1024), end.gdi,
           end.user, end.handles, (unsigned long)(end.heaps / 1024),
           (unsigned long)(end.memory / 1024));
    EXPECT_EQ(baseline.gdi, end.gdi);
    EXPECT_EQ(baseline.user, end.user);
    EXPECT_EQ(baseline.handles, end.handles);
    // A leak of even four bytes a step would show in the heaps; the
    // committed total only catches large ones.
    EXPECT_LT(end.heaps, baseline.heaps + (64u << 10));
    EXPECT_LT(end.memory, baseline.memory + (4u << 20));
}

} // namespace
