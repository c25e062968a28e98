// Calendar and contacts files through the program's table and window: what
// an import adds and reports, duplicates, texts the code page cannot hold,
// bad files, a table that cannot grow, the round trip, and the list's menu
// with the standard file dialogs.
#include "app/CalendarFiles.h"
#include "app/ProgramObjects.h"
#include "core/EntryTable.h"
#include "resources/resource.h"
#include "support/AppState.h"
#include "support/DialogDriver.h"
#include "support/ModalAnswerer.h"
#include "support/ReplaceImport.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class CalendarFiles : public ProgramWindowTest {
protected:
    void Load(const std::string& dataFile)
    {
        LoadText(dataFile);
        ASSERT_EQ(1, theApp.BuildEntryTable());
    }

    // Imports text from a file; the boxes shown, "caption: text" each.
    std::vector<std::string> Import(const std::string& text, int expectAdded = -1)
    {
        std::string path = folder + "in.ics";
        WriteFileText(path, text);
        ModalAnswerer answerer({IDOK});
        int result = ImportCalendarFile(theApp.window, path.c_str(), &counts);
        if (expectAdded >= 0) {
            EXPECT_EQ(expectAdded > 0, result);
        }
        std::vector<std::string> boxes;
        for (const AnsweredWindow& box : answerer.Answered())
            boxes.push_back(box.caption + ": " + box.text);
        return boxes;
    }

    // The table as the data file would hold it, in list order.
    std::vector<std::string> Reminders()
    {
        std::vector<std::string> lines;
        for (int i = 0; i < theApp.entryCount; ++i) {
            const ReminderEntry& r = entryTable.records[i];
            std::string date(r.dateText, r.annual ? 5 : 8);
            lines.push_back(date + (r.hasTime ? " " + std::string(r.timeText) : "") + " " + r.text);
        }
        return lines;
    }

    CalendarImportCounts counts = {};
};

std::string Event(const std::string& lines)
{
    return "BEGIN:VEVENT\r\nUID:x\r\n" + lines + "END:VEVENT\r\n";
}
std::string Calendar(const std::string& events)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + events + "END:VCALENDAR\r\n";
}

// Forms phone and web exporters write (their every form is the reader's own
// test); today is 7 December 2006.
struct ImportCase {
    const char* name;
    std::string file;
    std::vector<std::string> reminders;
    CalendarImportCounts counts; // added, there, noDate, otherRepeat, outsideYears, noText, changed, cut
};

const ImportCase kImports[] = {
    {"vCard 2.1, quoted-printable UTF-8 name",
     "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCrgen\r\n"
     "BDAY:1970-03-14\r\nEND:VCARD\r\n",
     {"03/14 Birthday: J\xFCrgen M\xFCller"},
     {1, 0, 0, 0, 0, 0, 0, 0}},
    {"calendar: one-off, yearly, weekly, outside the years, no date, twice the same",
     Calendar(Event("DTSTART;VALUE=DATE:20070110\r\nSUMMARY:Pay rent\r\n") +
              Event("DTSTART:20071224T183000\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Dinner\\, late\r\n") +
              Event("DTSTART:20070105T090000\r\nRRULE:FREQ=WEEKLY\r\nSUMMARY:Gym\r\n") +
              Event("DTSTART;VALUE=DATE:19900101\r\nSUMMARY:Long ago\r\n") +
              Event("SUMMARY:No date\r\n") +
              Event("DTSTART;VALUE=DATE:20070110\r\nSUMMARY:Pay rent\r\n")),
     {"12/24 06:30 PM Dinner, late", "01/10/07 Pay rent"},
     {2, 1, 1, 1, 1, 0, 0, 0}},
    {"calendar: a text outside the code page, and one too long",
     Calendar(Event("DTSTART;VALUE=DATE:20070110\r\nSUMMARY:Zo\xC3\xAB \xCE\xA9mega\r\n") +
              Event("DTSTART;VALUE=DATE:20070111\r\nSUMMARY:" + std::string(90, 'x') + "\r\n")),
     {"01/10/07 Zo\xEB ?mega", "01/11/07 " + std::string(83, 'x')},
     {2, 0, 0, 0, 0, 0, 1, 1}},
};

TEST_F(CalendarFiles, ImportAddsWhatExportersWriteAndCountsWhatItSkips)
{
    for (const ImportCase& c : kImports) {
        SCOPED_TRACE(c.name);
        Load("");
        Import(c.file, c.counts.added);
        EXPECT_EQ(c.reminders, Reminders());
        const int got[] = {counts.added,        counts.alreadyThere, counts.noDate,      counts.otherRepeat,
                           counts.outsideYears, counts.noText,       counts.textChanged, counts.textCut};
        const int want[] = {c.counts.added,        c.counts.alreadyThere, c.counts.noDate,
                            c.counts.otherRepeat,  c.counts.outsideYears, c.counts.noText,
                            c.counts.textChanged,  c.counts.textCut};
        EXPECT_EQ(std::vector<int>(want, want + 8), std::vector<int>(got, got + 8));
        EXPECT_EQ(1, theApp.modified);
        EXPECT_EQ(std::string("Mod"), StatusText(statusBar.window, 3));
        EXPECT_EQ(theApp.entryCount, (int)SendMessageA(listBox.window, LB_GETCOUNT, 0, 0));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(theApp.dataFilePath)) << "nothing saved";
    }
}

TEST_F(CalendarFiles, TheSummarySaysWhatWasAddedAlreadyThereAndSkipped)
{
    Load("12/24\t18:30 Dinner, late\r\n");
    std::vector<std::string> boxes = Import(kImports[1].file, 1);
    std::string path = folder + "in.ics";
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Tarvendel: Imported from\n" + path +
                  "\n\nAdded: 1\nAlready there: 2\nSkipped: 3\n   without a date: 1\n"
                  "   repeating other than yearly: 1\n   one-off outside 1998 to 2050: 1\n\n"
                  "Nothing is saved until you save.",
              boxes[0]);
}

TEST_F(CalendarFiles, AZoneTimeBecomesLocalTime)
{
    Load("");
    Import(Calendar(Event("DTSTART;TZID=Asia/Tokyo:20070110T090000\r\nSUMMARY:Tokyo\r\n") +
                    Event("DTSTART:20070110T120000Z\r\nSUMMARY:Utc\r\n") +
                    Event("DTSTART;TZID=Nowhere/Else:20070110T150000\r\nSUMMARY:Unknown\r\n")),
           3);
    // The system's own rule for this machine's zone: 00:00 and 12:00 UTC.
    SYSTEMTIME utc[2] = {{2007, 1, 0, 10, 0, 0, 0, 0}, {2007, 1, 0, 10, 12, 0, 0, 0}};
    std::vector<std::string> want;
    for (SYSTEMTIME& u : utc) {
        SYSTEMTIME local;
        ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(NULL, &u, &local));
        char text[40];
        wsprintfA(text, "%02d/%02d/07 %02d:%02d %s", local.wMonth, local.wDay,
                  local.wHour % 12 == 0 ? 12 : local.wHour % 12, local.wMinute, local.wHour < 12 ? "AM" : "PM");
        want.push_back(text);
    }
    std::vector<std::string> got = Reminders();
    ASSERT_EQ(3u, got.size());
    EXPECT_NE(got.end(), std::find(got.begin(), got.end(), want[0] + " Tokyo"));
    EXPECT_NE(got.end(), std::find(got.begin(), got.end(), want[1] + " Utc"));
    EXPECT_NE(got.end(), std::find(got.begin(), got.end(), "01/10/07 03:00 PM Unknown")) << "kept as written";
}

TEST_F(CalendarFiles, ABadFileChangesNothingAndSaysWhy)
{
    const struct {
        std::string name, file, message;
    } cases[] = {
        {"binary junk", std::string("\x7F" "ELF\x02\x01\x01\0\0\0\xFF\xFE", 12), "Neither a calendar nor a contacts file"},
        {"an empty calendar", Calendar(""), "Nothing was imported from"},
        {"too large", Calendar(std::string(9 * 1024 * 1024, ' ')), "Too large for a calendar or contacts file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Load("12/25 Christmas\r\n");
        std::vector<std::string> boxes = Import(c.file, 0);
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ("Tarvendel: " + c.message, boxes[0].substr(0, 11 + c.message.size()));
        EXPECT_EQ(std::vector<std::string>{"12/25 Christmas"}, Reminders());
        EXPECT_EQ(0, theApp.modified);
    }
}

LPVOID WINAPI NoReAlloc(LPVOID, SIZE_T, UINT) { return NULL; }

TEST_F(CalendarFiles, AnImportTheTableCannotHoldAddsNothing)
{
    Load("12/25 Christmas\r\n");
    std::string events;
    for (int day = 1; day <= 28; ++day)
        for (int month = 1; month <= 5; ++month)
            events += Event("DTSTART;VALUE=DATE:2007" + std::string(month < 10 ? "0" : "") + std::to_string(month) +
                            (day < 10 ? "0" : "") + std::to_string(day) + "\r\nSUMMARY:Day\r\n");
    void* real = ReplaceImport("GlobalReAlloc", (void*)NoReAlloc);
    ASSERT_NE(nullptr, real);
    std::vector<std::string> boxes = Import(Calendar(events), 0);
    ReplaceImport("GlobalReAlloc", real);
    EXPECT_EQ(std::vector<std::string>{"Tarvendel: Out of memory"}, boxes);
    EXPECT_EQ(std::vector<std::string>{"12/25 Christmas"}, Reminders());
    EXPECT_EQ(0, theApp.modified);
}

TEST_F(CalendarFiles, AnExportImportedIntoAnEmptyTableGivesTheSameReminders)
{
    Load("12/25 Christmas\r\n07/04\t09:00 Parade\r\n02/29 Leap day\r\n03/15/07\t14:30 Dentist; \\ bring, card\r\n"
         "01/10/30 Caf\xE9 cr\xE8me \x80 5\r\n12/31/50\t23:59 " + std::string(83, 'y') + "\r\n");
    std::vector<std::string> before = Reminders();
    std::string path = folder + "out.ics";
    ASSERT_EQ(1, ExportCalendarFile(path.c_str()));
    Load("");
    std::vector<std::string> boxes = Import(ReadFileText(path), 6);
    EXPECT_EQ(before, Reminders());
    EXPECT_EQ(0, counts.textChanged + counts.textCut);
    // A second import finds all of them there.
    Import(ReadFileText(path), 0);
    EXPECT_EQ(6, counts.alreadyThere);
}

// The menu's items, "text|id" a line, seen by PickFromMenu, which answers
// the menu with menuAnswer: a letter chooses as a user would.
std::wstring menuItems;
WPARAM menuAnswer;

void CALLBACK PickFromMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND menuWindow = FindWindowA("#32768", NULL);
    if (menuWindow == NULL || !IsWindowVisible(menuWindow))
        return;
    KillTimer(NULL, timer);
    HMENU menu = (HMENU)SendMessageA(menuWindow, MN_GETHMENU, 0, 0);
    wchar_t text[80];
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        GetMenuStringW(menu, (UINT)i, text, 80, MF_BYPOSITION);
        menuItems += std::wstring(text) + L"|" + std::to_wstring(GetMenuItemID(menu, i)) + L"\n";
    }
    PostMessageA(menuWindow, WM_KEYDOWN, menuAnswer, 0);
}

// Opens the list's menu with the mouse or keyboard input the list gets
// (Shift held down when shift), answers it with the key answer, and drives
// the file dialog that the command chosen opens with steps.
void UseListMenu(UINT down, UINT up, WPARAM key, LPARAM at, int shift, WPARAM answer, DialogDriver* driver,
                 const std::vector<Step>& steps)
{
    menuItems.clear();
    menuAnswer = answer;
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    UINT_PTR timer = SetTimer(NULL, 0, 30, PickFromMenu);
    PostMessageA(listBox.window, down, key, at);
    PostMessageA(listBox.window, up, down == WM_RBUTTONDOWN ? 0 : key, at);
    driver->Run(
        [] {
            MSG message; // the input, then the command the menu posts, with its dialog
            for (DWORD start = GetTickCount(); GetTickCount() - start < 500;)
                if (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
                    DispatchMessageA(&message);
            return 0;
        },
        steps);
    KillTimer(NULL, timer);
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

const wchar_t kMenuItems[] =
    L"&Export to calendar file\u2026|40010\n&Import from calendar or contacts file\u2026|40011\n";

// Shift+F10 (and the menu key, which is the system's alone and which Wine 8
// does not give) opens the menu as a right click does.
TEST_F(CalendarFiles, ShiftF10OpensTheListMenuAndItsExportTheSaveAsDialog)
{
    Load("12/25 Christmas\r\n");
    std::string path = folder + "phone";
    DialogDriver driver;
    UseListMenu(WM_SYSKEYDOWN, WM_SYSKEYUP, VK_F10, 1, 1, 'E', &driver, {Type(0x47C, path), Press(IDOK)});
    EXPECT_EQ(kMenuItems, menuItems);
    EXPECT_EQ(1, driver.dialogs);
    std::string file = ReadFileText(path + ".ics");
    EXPECT_NE(std::string::npos, file.find("SUMMARY:Christmas\r\n")) << file;
}

TEST_F(CalendarFiles, ARightClickOpensTheListMenuAndItsImportTheOpenDialog)
{
    Load("");
    std::string path = folder + "contacts.vcf";
    WriteFileText(path, "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna\r\nBDAY:--0412\r\nEND:VCARD\r\n");
    DialogDriver driver;
    UseListMenu(WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, MAKELPARAM(20, 5), 0, 'I', &driver,
                {Type(0x47C, path), Press(IDOK)});
    EXPECT_EQ(kMenuItems, menuItems);
    EXPECT_EQ(1, driver.dialogs);
    ASSERT_EQ(1u, driver.boxTexts.size());
    EXPECT_EQ(0u, driver.boxTexts[0].find("Imported from")) << driver.boxTexts[0];
    EXPECT_EQ(std::vector<std::string>{"04/12 Birthday: Anna"}, Reminders());
}

} // namespace
