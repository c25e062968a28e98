// The commands of the main window: the Alt keys, the list's double-click,
// removing, and the questions before closing.
#include "app/ProgramObjects.h"
#include "controls/CustomControl.h"
#include "core/BoundedString.h"
#include "core/EntryTable.h"
#include "resources/resource.h"
#include "support/AppState.h"
#include "support/DialogDriver.h"
#include "support/ModalAnswerer.h"
#include "support/ReplaceImport.h"
#include "support/TestFiles.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// Set once the table could not grow; Add is refused from then on.
extern int tableFull;

namespace {

const char kSettingsKey[] = "Software\\Pellix Freeware\\Tarvendel\\Settings";
const std::string kFile = "12/25 Christmas\r\n03/15/07\t14:30 Dentist\r\n";

class Commands : public ProgramWindowTest {
protected:
    static void SetUpTestSuite()
    {
        ProgramWindowTest::SetUpTestSuite();
        theApp.SetAccelerators(IDR_ACCELERATORS);
    }
    void SetUp() override
    {
        ProgramWindowTest::SetUp();
        LoadText(kFile);
        ASSERT_EQ(1, theApp.BuildEntryTable());
    }

    // Presses Alt+key as the message loop would translate it; the table
    // looks at the Alt key's state, so it is held down meanwhile.
    void AltKey(char key)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        BYTE released = keys[VK_MENU];
        keys[VK_MENU] = 0x80;
        SetKeyboardState(keys);
        MSG message = {listBox.window, WM_SYSKEYDOWN, (WPARAM)key, 1 << 29, 0, {0, 0}};
        ASSERT_NE(0, TranslateAcceleratorA(theApp.window, theApp.accelerators, &message));
        keys[VK_MENU] = released;
        SetKeyboardState(keys);
    }

    std::vector<std::string> Captions(const ModalAnswerer& answerer)
    {
        std::vector<std::string> captions;
        for (const AnsweredWindow& seen : answerer.Answered())
            captions.push_back(seen.className == "CMSGCLASS" && seen.caption.empty()
                                   ? "(about box)"
                                   : seen.caption);
        return captions;
    }

    void Select(int line) { SendMessageA(listBox.window, LB_SETCURSEL, line, 0); }
    static int Command(int id)
    {
        return (int)SendMessageA(theApp.window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
};

TEST_F(Commands, InReminderModeTheEditingKeysDoNothingAndTheOthersWork)
{
    const struct {
        char key;
        int reminderMode;
        std::vector<std::string> shown;
    } cases[] = {
        {'A', 0, {"Add"}},   {'A', 1, {}},           {'E', 0, {"Edit"}},  {'E', 1, {}},
        {'R', 0, {"Delete"}}, {'R', 1, {}},          {'U', 1, {"Setup"}}, {'I', 1, {"Info"}},
        {'B', 1, {"(about box)"}},
    };
    for (const auto& c : cases) {
        theApp.reminderMode = c.reminderMode;
        theApp.RefreshList();
        Select(0);
        ModalAnswerer answerer({IDCANCEL, IDNO, IDOK});
        AltKey(c.key);
        EXPECT_EQ(c.shown, Captions(answerer)) << c.key << " in mode " << c.reminderMode;
    }
    EXPECT_EQ(2, theApp.entryCount); // nothing was added or removed

    theApp.reminderMode = 1;
    AltKey('M');
    EXPECT_EQ(0, theApp.reminderMode);
    theApp.modified = 1;
    AltKey('S');
    EXPECT_EQ(kFile, ReadFileText(theApp.dataFilePath));
    EXPECT_EQ(0, theApp.modified);
}

TEST_F(Commands, ADoubleClickEditsOnlyInEditModeAndOnlyASelectedEntry)
{
    const WPARAM doubleClick = MAKEWPARAM(listBox.controlId, LBN_DBLCLK);
    {
        ModalAnswerer answerer({IDCANCEL});
        Select(1);
        SendMessageA(theApp.window, WM_COMMAND, doubleClick, (LPARAM)listBox.window);
        EXPECT_EQ((std::vector<std::string>{"Edit"}), Captions(answerer));
    }
    {
        ModalAnswerer answerer({IDCANCEL});
        Select(-1);
        Command(IDM_EDIT);
        Command(IDM_REMOVE);
        theApp.reminderMode = 1;
        Select(0);
        SendMessageA(theApp.window, WM_COMMAND, doubleClick, (LPARAM)listBox.window);
        EXPECT_TRUE(answerer.Answered().empty());
    }
}

TEST_F(Commands, EnterDeleteAndInsertInTheListActOnlyInEditModeAndTheListKeepsItsKeys)
{
    const struct {
        WPARAM key;
        int reminderMode;
        std::vector<std::string> shown;
        int entries; // after Cancel to a dialog and Yes to the question
        int selected;
    } cases[] = {
        {VK_RETURN, 0, {"Edit"}, 2, 0}, {VK_DELETE, 0, {"Delete"}, 1, 0},
        {VK_INSERT, 0, {"Add"}, 2, 0},  {VK_RETURN, 1, {}, 2, 0},
        {VK_DELETE, 1, {}, 2, 0},       {VK_INSERT, 1, {}, 2, 0},
        {VK_DOWN, 0, {}, 2, 1},         {VK_END, 1, {}, 2, 1},
    };
    for (const auto& c : cases) {
        theApp.reminderMode = c.reminderMode;
        LoadText("12/08 Party\r\n12/10 Meeting\r\n"); // both listed in either mode
        ASSERT_EQ(1, theApp.BuildEntryTable());
        Select(0);
        ModalAnswerer answerer({c.key == VK_DELETE ? IDYES : IDCANCEL});
        SendMessageA(listBox.window, WM_KEYDOWN, c.key, 1);
        EXPECT_EQ(c.shown, Captions(answerer)) << c.key << " in mode " << c.reminderMode;
        EXPECT_EQ(c.entries, theApp.entryCount) << c.key << " in mode " << c.reminderMode;
        EXPECT_EQ(c.selected, SendMessageA(listBox.window, LB_GETCURSEL, 0, 0)) << c.key;
        // Delete takes the selected reminder
        EXPECT_STREQ(c.entries == 1 ? "Meeting" : "Party", entryTable.records[0].text) << c.key;
    }
}

std::string SelectedText()
{
    int line = (int)SendMessageA(listBox.window, LB_GETCURSEL, 0, 0);
    if (line < 0)
        return "(none)";
    char text[160] = "";
    SendMessageA(listBox.window, LB_GETTEXT, line, (LPARAM)text);
    return strrchr(text, ' ') + 1;
}

// Thirty reminders, the list scrolled down and one selected, then a key:
// the edited or added reminder is selected, after a delete the line that took
// its place, and the list stays where it was scrolled to while that shows.
TEST_F(Commands, AfterEachKeyCommandTheListKeepsTheUsersPlace)
{
    const struct {
        WPARAM key;
        int line;                // selected before
        std::vector<Step> steps; // in the dialog; none for the question
        int selected;
        const char* text;        // of the selected line's last word
        int keepsTop;
    } cases[] = {
        {VK_RETURN, 12, {Type(IDC_REMINDER_TEXT, "Day-13b"), Press(IDOK)}, 12, "Day-13b", 1},
        {VK_RETURN, 12, {PickDate(0, 1, 31), Press(IDOK)}, 29, "Day-13", 0},
        {VK_INSERT, 12, {Type(IDC_REMINDER_TEXT, "New"), PickDate(2007, 1, 15), Press(IDOK)}, 15,
         "New", 1},
        {VK_DELETE, 12, {}, 12, "Day-14", 1},
        {VK_DELETE, 29, {}, 28, "Day-29", 0},
    };
    for (const auto& c : cases) {
        std::string file;
        for (int day = 1; day <= 30; ++day)
            file += "01/" + std::string(day < 10 ? "0" : "") + std::to_string(day) + " Day-" +
                    std::to_string(day) + "\r\n";
        LoadText(file);
        ASSERT_EQ(1, theApp.BuildEntryTable());
        SendMessageA(listBox.window, LB_SETTOPINDEX, 8, 0);
        Select(c.line);
        int top = (int)SendMessageA(listBox.window, LB_GETTOPINDEX, 0, 0);
        if (c.steps.empty()) {
            ModalAnswerer answerer({IDYES});
            SendMessageA(listBox.window, WM_KEYDOWN, c.key, 1);
        } else {
            DialogDriver(c.key == VK_INSERT ? "Add" : "Edit").Run([&c] {
                SendMessageA(listBox.window, WM_KEYDOWN, c.key, 1);
                return 1;
            }, c.steps);
        }
        EXPECT_EQ(c.selected, SendMessageA(listBox.window, LB_GETCURSEL, 0, 0)) << c.key;
        EXPECT_EQ(c.text, SelectedText()) << c.key;
        if (c.keepsTop) {
            EXPECT_EQ(top, SendMessageA(listBox.window, LB_GETTOPINDEX, 0, 0)) << c.key;
        }
    }
    // Delete again deletes the next one.
    Select(3);
    for (const char* gone : {"Day-4", "Day-5"}) {
        EXPECT_EQ(gone, SelectedText());
        ModalAnswerer answerer({IDYES});
        SendMessageA(listBox.window, WM_KEYDOWN, VK_DELETE, 1);
    }
    EXPECT_EQ("Day-6", SelectedText());
}

// A click on a button that opens nothing leaves the keys where they work.
TEST_F(Commands, AfterAClickOnABarButtonTheKeysGoToTheList)
{
    for (int id : {IDM_MODE, IDM_SAVE, IDM_MODE}) {
        HWND button = GetDlgItem(buttonBar.window, id);
        ASSERT_NE(nullptr, button);
        SendMessageA(button, BM_CLICK, 0, 0);
        EXPECT_EQ(listBox.window, GetFocus()) << id;
    }
}

TEST_F(Commands, RemoveAsksWithTheReminderTextAndOnlyYesRemoves)
{
    Select(1);
    for (int answer : {IDNO, 0}) {
        ModalAnswerer answerer({answer});
        Command(IDM_REMOVE);
        ASSERT_EQ(1u, answerer.Answered().size());
        EXPECT_EQ("Delete", answerer.Answered()[0].caption);
        EXPECT_EQ("Dentist\n\nDelete this reminder?", answerer.Answered()[0].text);
        EXPECT_EQ("style 0x24, question icon, 000000 on c0c0c0, frame 808080",
                  BoxLook(answerer.Answered()[0]));
        EXPECT_EQ(2, theApp.entryCount);
        EXPECT_EQ(0, theApp.modified);
    }
    ModalAnswerer answerer({IDYES});
    Command(IDM_REMOVE);
    EXPECT_EQ(1, theApp.entryCount);
    EXPECT_EQ(1, theApp.modified);
    EXPECT_STREQ("Christmas", entryTable.records[0].text);
    EXPECT_EQ(1, SendMessageA(listBox.window, LB_GETCOUNT, 0, 0));
}

struct CloseCase {
    const char* name;
    int firstRun, autoRemove, modified, readOnly;
    std::string file;
    std::vector<int> answers;
    std::vector<std::string> questions;
    int closes;
    int saved;
};

TEST_F(Commands, ClosingAsksOnlyWhenItMustAndNeverLosesRemindersSilently)
{
    const std::string yesterday = "12/06/06 Yesterday\r\n12/25 Christmas\r\n";
    const CloseCase cases[] = {
        {"unchanged", 0, 1, 0, 0, kFile, {}, {}, 1, 0},
        {"first run saves unasked", 1, 0, 0, 0, kFile, {}, {}, 1, 1},
        {"past reminder saves unasked", 0, 1, 0, 0, yesterday, {}, {}, 1, 1},
        {"cancel keeps the window", 0, 0, 1, 0, kFile, {IDCANCEL}, {"Save data?"}, 0, 0},
        {"yes saves", 0, 0, 1, 0, kFile, {IDYES}, {"Save data?"}, 1, 1},
        {"no closes unsaved", 0, 0, 1, 0, kFile, {IDNO}, {"Save data?"}, 1, 0},
        {"a question closed unanswered keeps the window", 0, 0, 1, 0, kFile, {0}, {"Save data?"}, 0, 0},
        {"failed save, box closed unanswered", 0, 0, 1, 1, kFile, {IDYES, IDOK, 0},
         {"Save data?", "Can't open file", "Close without saving?"}, 0, 0},
        {"failed save, close anyway", 0, 0, 1, 1, kFile, {IDYES, IDOK, IDYES},
         {"Save data?", "Can't open file", "Close without saving?"}, 1, 0},
        {"failed save, stay", 0, 0, 1, 1, kFile, {IDYES, IDOK, IDNO},
         {"Save data?", "Can't open file", "Close without saving?"}, 0, 0},
    };
    for (const CloseCase& c : cases) {
        LoadText(c.file);
        ASSERT_EQ(1, theApp.BuildEntryTable());
        theApp.firstRun = c.firstRun;
        theApp.AutoRemove = c.autoRemove;
        theApp.modified = c.modified;
        WriteFileText(theApp.dataFilePath, "old");
        if (c.readOnly)
            SetFileAttributesA(theApp.dataFilePath, FILE_ATTRIBUTE_READONLY);
        ModalAnswerer answerer(c.answers);
        EXPECT_EQ(c.closes, theApp.CanClose()) << c.name;
        std::vector<std::string> questions;
        for (const AnsweredWindow& seen : answerer.Answered()) {
            questions.push_back(seen.text.substr(0, seen.text.find('\n')));
            // The failed save's error looks as every error does.
            std::string look = seen.text == "Save data?"              ? "style 0x23, question icon"
                               : seen.text == "Close without saving?" ? "style 0x24, question icon"
                                                                      : "style 0x30, exclamation icon";
            EXPECT_EQ(look + ", 000000 on c0c0c0, frame 808080", BoxLook(seen)) << seen.text;
        }
        EXPECT_EQ(c.questions, questions) << c.name;
        EXPECT_EQ(c.saved, ReadFileText(theApp.dataFilePath) != "old") << c.name;
        SetFileAttributesA(theApp.dataFilePath, FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(Commands, ANewRangeShowsInReminderModeAtOnce)
{
    theApp.reminderMode = 1;
    theApp.RefreshList();
    ASSERT_EQ(0, SendMessageA(listBox.window, LB_GETCOUNT, 0, 0)); // Christmas is 18 days ahead
    DialogDriver setup("Setup");
    setup.Run([] { return Command(IDM_SETUP); }, {Type(IDC_RANGE, "20"), Press(IDOK)});
    EXPECT_TRUE(setup.boxes.empty()) << setup.boxes[0];
    EXPECT_EQ(20, theApp.Range);
    EXPECT_EQ(1, SendMessageA(listBox.window, LB_GETCOUNT, 0, 0));
}

TEST_F(Commands, TheEndOfASessionIsRefusedWhenTheUserKeepsTheWindow)
{
    theApp.modified = 1;
    for (int answer : {IDCANCEL, 0}) {
        ModalAnswerer answerer({answer});
        EXPECT_EQ(0, SendMessageA(theApp.window, WM_QUERYENDSESSION, 0, 0)) << answer;
    }
    // A dialog or box open when the session ends: nothing can be asked, and
    // what is typed there would be lost.
    for (int command : {IDM_ADD, IDM_ABOUT}) {
        theApp.modified = 0;
        LRESULT answer = -1;
        DialogDriver driver = command == IDM_ABOUT ? DialogDriver(&aboutBox) : DialogDriver("Add");
        driver.Run([command] { return Command(command); }, {[&answer](HWND open) {
            answer = SendMessageA(theApp.window, WM_QUERYENDSESSION, 0, 0);
            PostMessageA(open, WM_CLOSE, 0, 0);
        }});
        EXPECT_EQ(0, answer) << command;
        EXPECT_EQ(0, driver.leftOpen) << "the window ignored its close at the session's end";
    }
    theApp.modified = 1;
    SetFileAttributesA(theApp.dataFilePath, FILE_ATTRIBUTE_NORMAL);
    WriteFileText(theApp.dataFilePath, "old");
    SetFileAttributesA(theApp.dataFilePath, FILE_ATTRIBUTE_READONLY);
    ModalAnswerer answerer({IDYES, IDOK, IDNO});
    EXPECT_EQ(0, SendMessageA(theApp.window, WM_QUERYENDSESSION, 0, 0));
    EXPECT_TRUE(IsWindow(theApp.window));
    EXPECT_EQ(1, theApp.modified);
}

// The commands the main window receives from its bar, kept from the real handler.
std::vector<int> barCommands;
WNDPROC mainProcedure;
LRESULT CALLBACK RecordCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && lParam != 0 && (HWND)lParam != listBox.window) {
        barCommands.push_back(LOWORD(wParam));
        return 0;
    }
    return CallWindowProcA(mainProcedure, window, message, wParam, lParam);
}

TEST_F(Commands, TheWindowOpensWithNineButtonsAFixedPitchListAndFourStatusParts)
{
    std::vector<std::string> captions;
    barCommands.clear();
    mainProcedure = (WNDPROC)SetWindowLongPtrA(theApp.window, GWLP_WNDPROC, (LONG_PTR)RecordCommand);
    for (HWND b = GetWindow(buttonBar.window, GW_CHILD); b != NULL; b = GetWindow(b, GW_HWNDNEXT)) {
        captions.push_back(LocalText(b));
        SendMessageA(b, BM_CLICK, 0, 0);
    }
    SetWindowLongPtrA(theApp.window, GWLP_WNDPROC, (LONG_PTR)mainProcedure);
    EXPECT_EQ((std::vector<std::string>{"&Add", "&Edit", "&Remove", "&Save", "&Mode", "Set&up",
                                        "&Info", "A&bout", "E&xit"}),
              captions);
    EXPECT_EQ((std::vector<int>{IDM_ADD, IDM_EDIT, IDM_REMOVE, IDM_SAVE, IDM_MODE, IDM_SETUP,
                                IDM_INFO, IDM_ABOUT, IDM_EXIT}),
              barCommands);

    // Owner-drawn lines in a fixed pitch, so that the columns line up; the
    // scroll bar comes and goes with the lines.
    const DWORD listStyle = WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_OWNERDRAWFIXED |
                            LBS_HASSTRINGS | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT;
    EXPECT_EQ(listStyle, (DWORD)GetWindowLongA(listBox.window, GWL_STYLE) &
                             ~(DWORD)(WS_VSCROLL | WS_HSCROLL | WS_CLIPSIBLINGS));
    HFONT font = (HFONT)SendMessageA(listBox.window, WM_GETFONT, 0, 0);
    EXPECT_EQ(GetStockObject(SYSTEM_FIXED_FONT), (HGDIOBJ)font);
    EXPECT_EQ(0, FontMetrics(font, listBox.window).tmPitchAndFamily & TMPF_FIXED_PITCH)
        << "the bit is set for variable pitch";

    // Four parts measured in characters from the right; the first without borders.
    HFONT statusFont = (HFONT)SendMessageA(statusBar.window, WM_GETFONT, 0, 0);
    int a = FontMetrics(statusFont, listBox.window).tmAveCharWidth, edges[8] = {};
    RECT bar;
    GetWindowRect(statusBar.window, &bar);
    int w = bar.right - bar.left;
    int count = (int)SendMessageA(statusBar.window, SB_GETPARTS, 8, (LPARAM)edges);
    EXPECT_EQ((std::vector<int>{w - 36 * a, w - 16 * a, w - 10 * a, w - 4 * a}),
              std::vector<int>(edges, edges + count));
    std::vector<int> types(count);
    for (int i = 0; i < count; ++i)
        StatusText(statusBar.window, i, &types[i]);
    EXPECT_EQ((std::vector<int>{SBT_NOBORDERS, 0, 0, 0}), types);
}

HGLOBAL WINAPI RefusedReAlloc(HGLOBAL, SIZE_T, UINT)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
}

TEST_F(Commands, AnAddThatFillsATableThatCannotGrowSaysOutOfMemoryOnceAndLaterAddsAreRefused)
{
    std::string file;
    for (int i = 0; i < 99; ++i)
        file += "01/01 Entry\r\n";
    LoadText(file);
    ASSERT_EQ(1, theApp.BuildEntryTable());
    ASSERT_EQ(100, entryTable.capacity);
    void* real = ReplaceImport("GlobalReAlloc", reinterpret_cast<void*>(RefusedReAlloc));
    ASSERT_NE(nullptr, real);
    DialogDriver driver("Add");
    driver.Run([] { theApp.AddReminder(); return 0; }, {Type(IDC_REMINDER_TEXT, "Last"), Press(IDOK)});
    EXPECT_EQ(std::vector<std::string>{"Tarvendel: Out of memory"}, driver.boxes);
    EXPECT_EQ(100, theApp.entryCount) << "the reminder that filled the table was lost";
    EXPECT_EQ(100, SendMessageA(listBox.window, LB_GETCOUNT, 0, 0));
    // Neither the command nor the Insert key opens the dialog again.
    driver.Run([] {
        Command(IDM_ADD);
        SendMessageA(listBox.window, WM_KEYDOWN, VK_INSERT, 1);
        return 0;
    }, {Press(IDCANCEL)});
    EXPECT_EQ(0, driver.dialogs);
    EXPECT_TRUE(driver.boxes.empty());
    EXPECT_EQ(100, theApp.entryCount);
    ReplaceImport("GlobalReAlloc", real);
    EXPECT_EQ(1, theApp.SaveDataFile());
    EXPECT_EQ("12/07/06 Last\r\n" + file, ReadFileText(theApp.dataFilePath)); // in date order
    tableFull = 0;
}

// Last, as it ends the window the others share: Exit (its button's command
// and Alt+X) goes through the questions of closing, writes the settings, and
// the message loop then ends with 0.
TEST_F(Commands, ExitClosesOnlyThroughTheQuestionsWritesTheSettingsAndEndsTheLoopWithZero)
{
    ClearSettings();
    theApp.modified = 1;
    {
        ModalAnswerer answerer({IDCANCEL});
        Command(IDM_EXIT);
        AltKey('X');
        EXPECT_EQ((std::vector<std::string>{"Tarvendel", "Tarvendel"}), Captions(answerer));
        EXPECT_TRUE(IsWindow(theApp.window)) << "Cancel closed the window";
    }
    HKEY key;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key));
    ModalAnswerer answerer({IDYES});
    AltKey('X');
    ASSERT_EQ(1u, answerer.Answered().size());
    EXPECT_EQ("Save data?", answerer.Answered()[0].text);
    EXPECT_EQ(nullptr, theApp.window);
    EXPECT_EQ(kFile, ReadFileText(theApp.dataFilePath));
    DWORD range = 0, size = sizeof range;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, "Range", RRF_RT_REG_DWORD,
                                          NULL, &range, &size));
    EXPECT_EQ(10u, range);
    EXPECT_EQ(0, theApp.RunMessageLoop());
    ClearSettings();
}

} // namespace
