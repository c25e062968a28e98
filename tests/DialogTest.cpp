// The Setup and Info dialogs on real windows, driven from inside their modal
// loops, and the three dialog templates as the program's resources hold them.
#include "app/InfoDialog.h"
#include "app/SetupDialog.h"
#include "app/StartupTask.h"
#include "core/Application.h"
#include "framework/WindowObject.h"
#include "resource.h"
#include "support/AppState.h"
#include "support/DialogDriver.h"
#include "support/ModalAnswerer.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <string.h>

namespace {

const int kBoxes[] = {IDC_RUN_AT_STARTUP, IDC_RUN_ONCE, IDC_ALWAYS_RUN, IDC_AUTO_REMOVE,
                      IDC_ASK_TIME,       IDC_TIME_COL, IDC_ALERTS};

// The range, then the seven options in the order of their boxes.
std::vector<int> Settings()
{
    return {theApp.Range,     (int)theApp.runAtStartup, theApp.RunOnce, theApp.AlwaysRun,
            theApp.AutoRemove, theApp.AskTime,          theApp.TimeCol, theApp.Alerts};
}
const std::vector<int> kDefaults = {10, 0, 1, 0, 1, 0, 1, 1};

std::vector<int> Marks(HWND dialog)
{
    std::vector<int> marks;
    for (int id : kBoxes)
        marks.push_back(IsDlgButtonChecked(dialog, id) == BST_CHECKED);
    return marks;
}
// A click on each box in turn, then the last step.
std::vector<Step> Clicks(const std::vector<int>& boxes, Step last)
{
    std::vector<Step> steps;
    std::transform(boxes.begin(), boxes.end(), std::back_inserter(steps), Click);
    steps.push_back(last);
    return steps;
}

std::vector<int> OnceADayEnabled(HWND dialog)
{
    return {IsWindowEnabled(GetDlgItem(dialog, IDC_RUN_ONCE)) != 0,
            IsWindowEnabled(GetDlgItem(dialog, IDC_ALWAYS_RUN)) != 0};
}

const char kNoValue[] = "(none)";

std::string RunValue()
{
    char text[512];
    DWORD size = sizeof text;
    return RegGetValueA(HKEY_CURRENT_USER, kRunKey, "Tarvendel", RRF_RT_REG_SZ, NULL, text,
                        &size) == ERROR_SUCCESS ? text : kNoValue;
}
void StoreRunValue(const char* text)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, "Tarvendel", REG_SZ, text, (DWORD)strlen(text) + 1);
}

class SetupDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        instanceHandle = GetModuleHandleA(NULL);
        ClearSettings();
        ResetApplication();
    }
    void TearDown() override { ClearSettings(); }

    int Run(const std::vector<Step>& steps)
    {
        int result = driver.Run([] { return RunSetupDialog(NULL); }, steps);
        EXPECT_EQ(0, driver.leftOpen) << "the dialog was still open after the last step";
        return result;
    }
    DialogDriver driver{"Setup"};
};

TEST_F(SetupDialog, OpensShowingTheSettingsWithOnceADayGreyedWithoutStartup)
{
    const std::vector<int> cases[] = {kDefaults, {3, 1, 0, 1, 0, 1, 0, 0}};
    for (const std::vector<int>& settings : cases) {
        theApp.Range = settings[0];
        // The box shows what the system holds, not what was loaded at start.
        theApp.runAtStartup = (unsigned)!settings[1];
        ClearSettings();
        if (settings[1])
            StoreRunValue("C:\\Apps\\Tarvendel.exe RUN");
        int* const options[] = {&theApp.RunOnce, &theApp.AlwaysRun, &theApp.AutoRemove,
                                &theApp.AskTime, &theApp.TimeCol, &theApp.Alerts};
        for (int i = 0; i < 6; ++i)
            *options[i] = settings[i + 2];
        char rangeText[32] = "";
        LRESULT limit = 0;
        std::vector<int> marks, enabled;
        Run({[&](HWND dialog) {
                 GetDlgItemTextA(dialog, IDC_RANGE, rangeText, sizeof rangeText);
                 limit = SendDlgItemMessageA(dialog, IDC_RANGE, EM_GETLIMITTEXT, 0, 0);
                 marks = Marks(dialog);
                 enabled = OnceADayEnabled(dialog);
             },
             Press(IDCANCEL)});
        EXPECT_EQ(std::to_string(settings[0]), rangeText);
        EXPECT_EQ(18, limit);
        EXPECT_EQ(std::vector<int>(settings.begin() + 1, settings.end()), marks);
        EXPECT_EQ(std::vector<int>(2, settings[1]), enabled);
    }
}

TEST_F(SetupDialog, RangeOutside1To20IsRefusedAndTheDialogStaysAsTyped)
{
    struct Case {
        const char* text;
        int accepted; // 0: refused
    } cases[] = {
        {"0", 0},      {"21", 0},          {"-3", 0},         {"abc", 0},
        {"", 0},       {"99999999999", 0}, {"4294967303", 0}, {"-4294967295", 0},
        {"1", 1},      {"20", 20},         {" 7", 7},         {"+5", 5},
        {"7 days", 7}, {"\t12", 12},       {"007", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ResetApplication();
        char shown[32] = "";
        int result = Run({Type(IDC_RANGE, c.text), Click(IDC_ASK_TIME), Press(IDOK),
                          [&](HWND dialog) { GetDlgItemTextA(dialog, IDC_RANGE, shown, 32); },
                          Press(IDCANCEL)});
        EXPECT_EQ(0, result);
        if (c.accepted) {
            EXPECT_TRUE(driver.boxTexts.empty());
            EXPECT_EQ((std::vector<int>{c.accepted, 0, 1, 0, 1, 1, 1, 1}), Settings());
        } else {
            EXPECT_EQ(std::vector<std::string>{"Range must be 1 to 20"}, driver.boxTexts);
            EXPECT_STREQ(c.text, shown);
            EXPECT_EQ(kDefaults, Settings());
        }
    }
}

TEST_F(SetupDialog, OnceADayBoxesFollowRunAtStartupAndKeepTheirMarks)
{
    std::vector<int> afterOn, afterOff, marksOff;
    Run({Click(IDC_RUN_AT_STARTUP),
         [&](HWND dialog) { afterOn = OnceADayEnabled(dialog); },
         Click(IDC_ALWAYS_RUN), Click(IDC_RUN_AT_STARTUP),
         [&](HWND dialog) {
             afterOff = OnceADayEnabled(dialog);
             marksOff = Marks(dialog);
         },
         Press(IDOK)});
    EXPECT_EQ((std::vector<int>{1, 1}), afterOn);
    EXPECT_EQ((std::vector<int>{0, 0}), afterOff);
    EXPECT_EQ((std::vector<int>{0, 1, 1, 1, 0, 1, 1}), marksOff);
    // Greyed boxes are stored as they are shown.
    EXPECT_EQ((std::vector<int>{10, 0, 1, 1, 1, 0, 1, 1}), Settings());
}

TEST_F(SetupDialog, RunAtStartupShowsTheSystemsStateAndOkWithItTickedPointsBothAtThisFile)
{
    const char kOld[] = "C:\\Old Place\\Tarvendel.exe RUN";
    const BYTE kSwitchedOff[12] = {3};
    struct Case {
        const char* name;
        const char* before; // the Run value; kNoValue for none
        int taskBefore, switchedOff;
        int shown; // the box's mark as the dialog opens
        int clicks;
        const char* after; // NULL: this program's own entry
        int taskAfter, switchedOffAfter;
    } cases[] = {
        {"switched on", kNoValue, 0, 0, 0, 1, NULL, 1, 0},
        {"upgraded: the value alone, OK unchanged", kOld, 0, 0, 1, 0, NULL, 1, 0},
        {"moved: OK unchanged re-points both", kOld, 1, 0, 1, 0, NULL, 1, 0},
        {"a cleaner took the value", kNoValue, 1, 0, 1, 0, NULL, 1, 0},
        {"switched off", kOld, 1, 0, 1, 1, kNoValue, 0, 0},
        {"ticked and unticked again", kNoValue, 0, 0, 0, 2, kNoValue, 0, 0},
        {"off in the system's list, left so", kOld, 1, 1, 0, 0, kOld, 1, 1},
        {"off in the system's list, ticked again", kOld, 1, 1, 0, 1, NULL, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearSettings();
        ResetApplication();
        long error = 0;
        if (c.before != kNoValue)
            StoreRunValue(c.before);
        if (c.switchedOff)
            RegSetKeyValueA(HKEY_CURRENT_USER, kApprovedKey, "Tarvendel", REG_BINARY, kSwitchedOff,
                            sizeof kSwitchedOff);
        if (c.taskBefore) {
            ASSERT_EQ(1, RegisterStartupTask(L"C:\\Old Place\\Tarvendel.exe", &error));
        } else {
            DeleteStartupTask(&error);
        }
        int shown = -1;
        std::vector<Step> steps = Clicks(std::vector<int>(c.clicks, IDC_RUN_AT_STARTUP), Press(IDOK));
        steps.insert(steps.begin(), [&shown](HWND dialog) {
            shown = IsDlgButtonChecked(dialog, IDC_RUN_AT_STARTUP) == BST_CHECKED;
        });
        Run(steps);
        EXPECT_EQ(c.shown, shown);
        EXPECT_EQ((unsigned)(c.shown ^ (c.clicks & 1)), theApp.runAtStartup);
        std::string value = RunValue();
        if (c.after != NULL) {
            EXPECT_EQ(c.after, value);
        } else {
            // The test program is the running file here.
            std::string self = ProgramFolder() + "DialogTests.exe";
            if (self.find(' ') != std::string::npos)
                self = "\"" + self + "\"";
            EXPECT_EQ(self + " RUN", value);
        }
        EXPECT_EQ(c.taskAfter, UserTaskExists());
        BYTE first = 0;
        DWORD size = 1;
        int switchedOff = RegGetValueA(HKEY_CURRENT_USER, kApprovedKey, "Tarvendel", RRF_RT_ANY,
                                       NULL, &first, &size) != ERROR_FILE_NOT_FOUND;
        EXPECT_EQ(c.switchedOffAfter, switchedOff);
    }
    long error = 0;
    DeleteStartupTask(&error);
}

TEST_F(SetupDialog, CancelAfterChangingEverythingKeepsEverything)
{
    StoreRunValue("old entry");
    std::vector<Step> steps = Clicks({std::begin(kBoxes), std::end(kBoxes)}, Click(IDCANCEL));
    steps.insert(steps.begin(), Type(IDC_RANGE, "5"));
    EXPECT_EQ(0, Run(steps));
    // Shown ticked, as the system has it, and left so.
    EXPECT_EQ((std::vector<int>{10, 1, 1, 0, 1, 0, 1, 1}), Settings());
    EXPECT_EQ("old entry", RunValue());
}

TEST_F(SetupDialog, ResultIsOneOnlyWhenTheTimeColumnOptionChanged)
{
    struct Case {
        std::vector<int> clicked;
        int result;
        int timeCol;
    } cases[] = {
        {{IDC_TIME_COL}, 1, 0},
        {{IDC_ASK_TIME}, 0, 1},
        {{IDC_AUTO_REMOVE, IDC_RUN_AT_STARTUP, IDC_ALWAYS_RUN}, 0, 1},
        {{IDC_TIME_COL, IDC_ASK_TIME}, 1, 0},
        {{IDC_TIME_COL, IDC_TIME_COL}, 0, 1},
    };
    for (const Case& c : cases) {
        ResetApplication();
        EXPECT_EQ(c.result, Run(Clicks(c.clicked, Press(IDOK)))) << c.clicked.size() << " clicks from " << c.clicked[0];
        EXPECT_EQ(c.timeCol, theApp.TimeCol);
    }
    theApp.TimeCol = 0;
    EXPECT_EQ(1, Run(Clicks({IDC_TIME_COL}, Press(IDOK))));
    EXPECT_EQ(1, theApp.TimeCol);
}

TEST(InfoDialog, ShowsTheHelpTextReadOnlyAndEscapeClosesIt)
{
    instanceHandle = GetModuleHandleA(NULL);
    std::string help = kHelpText;
    EXPECT_EQ(0u, help.find("         *** Tarvendel ***\r\n\r\nPurpose:\r\n"));
    EXPECT_NE(std::string::npos, help.find(" even  though "));
    EXPECT_EQ(20, std::count(help.begin(), help.end(), '\n'));
    EXPECT_EQ(20, std::count(help.begin(), help.end(), '\r'));
    EXPECT_EQ('.', help.back());

    for (int focusOnText = 0; focusOnText < 2; ++focusOnText) {
        std::string shown, afterTyping;
        LONG style = 0;
        DialogDriver driver("Info");
        driver.Run([] { RunInfoDialog(NULL); return 0; }, {[&](HWND dialog) {
                                         HWND edit = GetDlgItem(dialog, IDC_HELP_TEXT);
                                         shown = LocalText(edit);
                                         style = GetWindowLongA(edit, GWL_STYLE);
                                         SendMessageA(edit, WM_CHAR, 'x', 1);
                                         afterTyping = LocalText(edit);
                                         if (focusOnText)
                                             SetFocus(edit);
                                     },
                                     Key(VK_ESCAPE)});
        EXPECT_EQ(0, driver.leftOpen) << "Escape left the dialog open, focus on text " << focusOnText;
        EXPECT_EQ(help, shown);
        EXPECT_EQ(help, afterTyping);
        EXPECT_EQ(ES_READONLY | ES_MULTILINE, style & (ES_READONLY | ES_MULTILINE));
    }
}

TEST(AboutBox, ShowsNameVersionAndOneMoreLine)
{
    instanceHandle = GetModuleHandleA(NULL);
    ModalAnswerer answerer;
    ShowAboutBox(NULL);
    ASSERT_EQ(1u, answerer.Answered().size());
    std::string text = answerer.Answered()[0].text;
    EXPECT_EQ("style 0x0, program icon, 000000 on c0c0c0, frame 808080",
              BoxLook(answerer.Answered()[0]));
    EXPECT_EQ(0u, text.find("Tarvendel - Version 1.32\n")) << text;
    EXPECT_EQ(1, std::count(text.begin(), text.end(), '\n')) << text;
    EXPECT_GT(text.size(), sizeof "Tarvendel - Version 1.32\n") << text;
}

const DWORD kControl = WS_CHILD | WS_VISIBLE;
const DWORD kCheckBox = kControl | WS_TABSTOP | BS_AUTOCHECKBOX;
const DWORD kRadio = kControl | WS_TABSTOP | BS_AUTORADIOBUTTON;
const DWORD kButton = kControl | WS_TABSTOP | BS_PUSHBUTTON;
const DWORD kGroupBox = kControl | BS_GROUPBOX;
const DWORD kLabel = kControl | WS_GROUP | SS_LEFT;
const DWORD kLineEdit = kControl | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
const DWORD kDropList = kControl | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
const DWORD kTextBox = kControl | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
                       ES_READONLY | ES_AUTOVSCROLL;
// Edit boxes turn their border into a 3D edge and lists move their scroll
// bar to the drop-down part, so those two bits are not compared.
const DWORD kKept = ~(DWORD)(WS_BORDER | WS_VSCROLL);

struct Control {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    RECT units; // left, top, width, height
};
struct Template {
    int resourceId;
    const char* title;
    int width, height, weight;
    std::vector<Control> controls;
};

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(DialogTemplates, HoldEveryControlInTabOrderWhereTheDialogManagerPlacesIt)
{
    const Template templates[] = {
        {IDD_REMINDER, "", 337, 127, 0,
         {{1017, "Button", "Remind every year", kCheckBox, {13, 107, 117, 12}},
          {1018, "Button", "Include time", kCheckBox, {150, 20, 60, 12}},
          {1003, "ComboBox", "", kDropList, {215, 20, 28, 112}},
          {1004, "ComboBox", "", kDropList, {260, 20, 28, 112}},
          {1011, "Button", "AM", kRadio, {295, 15, 32, 8}},
          {1012, "Button", "PM", kRadio, {295, 30, 28, 8}},
          {1005, "Edit", "", kLineEdit, {150, 65, 176, 12}},
          {1, "Button", "OK", kButton, {180, 100, 52, 16}},
          {2, "Button", "Cancel", kButton, {246, 100, 52, 16}},
          {-1, "Button", "Date", kGroupBox, {5, 0, 132, 122}},
          {-1, "Button", "Reminder", kGroupBox, {143, 50, 187, 37}},
          {-1, "Button", "Time", kGroupBox, {143, 0, 187, 43}},
          {-1, "Static", ":", kLabel, {250, 20, 8, 12}},
          {1019, "CALENDARCLASS", "Custom1", kControl | WS_TABSTOP, {16, 10, 114, 94}}}},
        {IDD_SETUP, "Setup", 164, 139, FW_BOLD,
         {{1005, "Edit", "", kLineEdit, {35, 16, 88, 12}},
          {1016, "Button", "Run at startup", kCheckBox, {8, 34, 88, 12}},
          {1008, "Button", "Run only once a day", kCheckBox, {8, 48, 88, 12}},
          {1013, "Button", "Always run once a day", kCheckBox, {8, 62, 88, 12}},
          {1007, "Button", "Remove old entries", kCheckBox, {8, 76, 84, 11}},
          {1009, "Button", "Always ask for time", kCheckBox, {8, 89, 84, 13}},
          {1010, "Button", "Display time in separate column", kCheckBox, {8, 103, 124, 12}},
          {1020, "Button", "Alert at the reminder's time", kCheckBox, {8, 117, 124, 12}},
          {1, "Button", "OK", kButton, {106, 42, 52, 16}},
          {2, "Button", "Cancel", kButton, {106, 66, 52, 16}},
          {-1, "Static", "Number of days to look ahead:", kLabel, {36, 4, 104, 8}}}},
        {IDD_INFO, "Info", 140, 137, FW_BOLD,
         {{1, "Button", "OK", kButton, {44, 120, 52, 16}},
          {1005, "Edit", "", kTextBox, {10, 4, 120, 108}}}},
    };

    // A stand-in for the calendar's class: a dialog naming it can only be
    // made once it is registered.
    WNDCLASSA calendarClass = {};
    calendarClass.lpfnWndProc = DefWindowProcA;
    calendarClass.hInstance = GetModuleHandleA(NULL);
    calendarClass.lpszClassName = "CALENDARCLASS";
    RegisterClassA(&calendarClass);

    const DWORD dialogStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                              DS_SETFONT | DS_3DLOOK;
    for (const Template& t : templates) {
        SCOPED_TRACE(t.resourceId);
        HWND dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(t.resourceId),
                                         NULL, NoDialogProc, 0);
        ASSERT_NE((HWND)NULL, dialog);
        // Every top-level window gets WS_CLIPSIBLINGS from the system.
        EXPECT_EQ(dialogStyle, (DWORD)GetWindowLongA(dialog, GWL_STYLE) & ~(DWORD)WS_CLIPSIBLINGS);
        EXPECT_EQ(t.title, LocalText(dialog));
        LOGFONTA font = {};
        GetObjectA((HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0), sizeof font, &font);
        EXPECT_EQ(t.weight, font.lfWeight);
        EXPECT_FALSE(font.lfItalic);
        RECT size = {0, 0, t.width, t.height}, client;
        MapDialogRect(dialog, &size);
        GetClientRect(dialog, &client);
        EXPECT_EQ(size.right, client.right);
        EXPECT_EQ(size.bottom, client.bottom);

        HWND child = GetWindow(dialog, GW_CHILD);
        for (const Control& c : t.controls) {
            SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.id));
            ASSERT_NE((HWND)NULL, child);
            EXPECT_EQ((WORD)c.id, (WORD)GetDlgCtrlID(child));
            EXPECT_EQ(0, _stricmp(c.className, ClassOf(child).c_str())) << ClassOf(child);
            EXPECT_EQ(c.text, LocalText(child));
            EXPECT_EQ(c.style & kKept, (DWORD)GetWindowLongA(child, GWL_STYLE) & kKept);
            // Mapped one number at a time, as the dialog manager does.
            RECT mapped = c.units, placed;
            MapDialogRect(dialog, &mapped);
            GetWindowRect(child, &placed);
            MapWindowPoints(NULL, dialog, (POINT*)&placed, 2);
            EXPECT_EQ(mapped.left, placed.left);
            EXPECT_EQ(mapped.top, placed.top);
            EXPECT_EQ(mapped.right, placed.right - placed.left);
            // A drop-down list is as high as its field; the template's
            // height is that of the open list.
            if (c.style != kDropList) {
                EXPECT_EQ(mapped.bottom, placed.bottom - placed.top);
            }
            child = GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_EQ((HWND)NULL, child);
        DestroyWindow(dialog);
    }
}

} // namespace
