// The commands of the main window: the Alt keys, the list's double-click,
// removing, and the questions before closing.
#include "app/ProgramObjects.h"
#include "controls/CustomControl.h"
#include "core/BoundedString.h"
#include "core/EntryTable.h"
#include "resources/resource.h"
#include "support/AppState.h"
#include "support/ModalAnswerer.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const std::string kFile = "12/25 Christmas\r\n03/15/07\t14:30 Dentist\r\n";

class Commands : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        instanceHandle = GetModuleHandleA(NULL);
        RegisterControlClasses();
        ASSERT_EQ(1, theApp.OpenMainWindow(SW_SHOWNORMAL));
        theApp.SetAccelerators(IDR_ACCELERATORS);
    }
    void SetUp() override
    {
        ResetApplication();
        today = MakeDate(2006, 12, 7);
        folder = NewTempFolder();
        CopyText(theApp.dataFilePath, sizeof theApp.dataFilePath, (folder + "Tarvendel.dat").c_str());
        LoadText(kFile);
        ASSERT_EQ(1, theApp.BuildEntryTable());
    }
    void TearDown() override
    {
        SetFileAttributesA(theApp.dataFilePath, FILE_ATTRIBUTE_NORMAL);
        RemoveTree(folder);
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

    std::string folder;
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
        SendMessageA(theApp.window, WM_COMMAND, MAKEWPARAM(IDM_EDIT, 0), 0);
        SendMessageA(theApp.window, WM_COMMAND, MAKEWPARAM(IDM_REMOVE, 0), 0);
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
        {VK_RETURN, 0, {"Edit"}, 2, 0}, {VK_DELETE, 0, {"Delete"}, 1, -1},
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

TEST_F(Commands, RemoveAsksWithTheReminderTextAndOnlyYesRemoves)
{
    Select(1);
    for (int answer : {IDNO, 0}) {
        ModalAnswerer answerer({answer});
        SendMessageA(theApp.window, WM_COMMAND, MAKEWPARAM(IDM_REMOVE, 0), 0);
        ASSERT_EQ(1u, answerer.Answered().size());
        EXPECT_EQ("Delete", answerer.Answered()[0].caption);
        EXPECT_EQ("Dentist\n\nDelete this reminder?", answerer.Answered()[0].text);
        EXPECT_EQ(2, theApp.entryCount);
        EXPECT_EQ(0, theApp.modified);
    }
    ModalAnswerer answerer({IDYES});
    SendMessageA(theApp.window, WM_COMMAND, MAKEWPARAM(IDM_REMOVE, 0), 0);
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
        for (const AnsweredWindow& seen : answerer.Answered())
            questions.push_back(seen.text.substr(0, seen.text.find('\n')));
        EXPECT_EQ(c.questions, questions) << c.name;
        EXPECT_EQ(c.saved, ReadFileText(theApp.dataFilePath) != "old") << c.name;
        SetFileAttributesA(theApp.dataFilePath, FILE_ATTRIBUTE_NORMAL);
    }
}

// Runs the step once inside the modal loop of whatever the main window
// opens (dialog or box), with that window.
std::function<void(HWND)> insideModal;
void CALLBACK RunInsideModal(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND open = GetLastActivePopup(theApp.window);
    if (open == theApp.window)
        return;
    KillTimer(NULL, timer);
    insideModal(open);
}
void CommandWithModalStep(int command, std::function<void(HWND)> step)
{
    insideModal = step;
    SetTimer(NULL, 0, 1, RunInsideModal);
    SendMessageA(theApp.window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

TEST_F(Commands, ANewRangeShowsInReminderModeAtOnce)
{
    theApp.reminderMode = 1;
    theApp.RefreshList();
    ASSERT_EQ(0, SendMessageA(listBox.window, LB_GETCOUNT, 0, 0)); // Christmas is 18 days ahead
    CommandWithModalStep(IDM_SETUP, [](HWND setup) {
        SetDlgItemTextA(setup, IDC_RANGE, "20");
        PostMessageA(setup, WM_COMMAND, IDOK, 0);
    });
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
        CommandWithModalStep(command, [&answer](HWND open) {
            answer = SendMessageA(theApp.window, WM_QUERYENDSESSION, 0, 0);
            PostMessageA(open, WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(0, answer) << command;
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

} // namespace
