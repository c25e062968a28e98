// The program's own message box and About box on real windows: their layout,
// keys and answers, what happens to the owner, and every way a box can end.
#include "app/ProgramObjects.h"
#include "controls/AboutBox.h"
#include "resource.h"
#include "support/DialogDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class BoxEnvironment : public ::testing::Environment {
    void SetUp() override { instanceHandle = GetModuleHandleA(NULL); }
};
::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new BoxEnvironment);

const COLORREF kGrey = RGB(192, 192, 192);
const COLORREF kFrame = RGB(128, 128, 128);

// Steps act on the box itself; when they run out it is closed.
int ShowBox(HWND owner, const char* text, const char* caption, int style, std::vector<Step> steps)
{
    return DialogDriver(&messageBox).Run([&] {
        return messageBox.Show(owner, text, caption, style, NULL, 0, kGrey, kFrame);
    }, steps);
}

Step ClickBox(int button)
{
    return [button](HWND) { PostMessageA(boxButtons[button].window, BM_CLICK, 0, 0); };
}

// The display font's measures, which the box lays itself out with.
struct Metrics {
    Metrics() : info(CreateICA("DISPLAY", NULL, NULL, NULL)), font()
    {
        GetTextMetricsA(info, &font);
        lineHeight = font.tmHeight + font.tmExternalLeading;
        charWidth = font.tmMaxCharWidth;
    }
    ~Metrics() { DeleteDC(info); }
    int Width(const char* text) const
    {
        SIZE size = {0, 0};
        GetTextExtentPoint32A(info, text, lstrlenA(text), &size);
        return size.cx;
    }
    HDC info;
    TEXTMETRICA font;
    int lineHeight, charWidth;
};

TEST(MessageBoxWindow, IsSizedForItsLinesCaptionAndButtons)
{
    const Metrics m;
    const char* wide = "A caption far wider than the text of the box";
    // Some display fonts are so wide that a short text already passes a minimum.
    const int natural = m.Width("Hi") + 4 * m.charWidth + 8;
    auto atLeast = [&](int lines) {
        return (natural > lines * m.lineHeight ? natural : lines * m.lineHeight) + 16;
    };
    ASSERT_LT(natural, 13 * m.lineHeight) << "no minimum width would be tested";
    struct Case {
        const char* text;
        const char* caption;
        int style, lines, width;
        std::vector<std::string> buttons;
        std::vector<int> offsets; // left edges from the client's middle
    } cases[] = {
        {"", "T", 0x30, 0, 4 * m.charWidth + 64 + 16, {"&Ok"}, {-30}},
        {"Line\n", "T", 0x30, 1, m.Width("Line") + 4 * m.charWidth + 80, {"&Ok"}, {-30}},
        {"One\n\nThree", "T", 0x30, 3, m.Width("Three") + 4 * m.charWidth + 80, {"&Ok"}, {-30}},
        {"x", wide, 0, 1, m.Width(wide) + 4 * m.charWidth + 8 + 16, {"&Ok"}, {-30}},
        {"Hi", "", 1, 1, atLeast(10), {"&Ok", "&Cancel"}, {-70, 10}},
        {"Hi", "", 4, 1, atLeast(10), {"&Yes", "&No"}, {-70, 10}},
        {"Hi", "", 3, 1, atLeast(13), {"&Yes", "&No", "&Cancel"}, {-100, -30, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.caption);
        int firstId = nextControlId;
        RECT box = {}, client = {};
        std::vector<std::string> captions;
        std::vector<RECT> places;
        HWND label = NULL;
        std::string labelText;
        EXPECT_EQ(0, ShowBox(NULL, c.text, c.caption, c.style, {[&](HWND window) {
            GetWindowRect(window, &box);
            GetClientRect(window, &client);
            for (int i = 0; i < MessageBoxWindow::buttonCount; ++i) {
                captions.push_back(LocalText(boxButtons[i].window));
                places.push_back(RectIn(boxButtons[i].window, window));
            }
            label = GetDlgItem(window, kBoxTextLabelId);
            labelText = LocalText(label);
            EXPECT_FALSE(GetWindowLongA(label, GWL_STYLE) & WS_VISIBLE);
        }}));
        EXPECT_EQ(c.lines, messageBox.lineCount);
        // Centring counts both edges, so the window grows by one pixel each way.
        EXPECT_EQ(m.lineHeight * (c.lines + 6) + 1, box.bottom - box.top);
        EXPECT_EQ(c.width + 1, box.right - box.left);
        EXPECT_EQ(m.lineHeight * (c.lines + 1) + 8, messageBox.textArea.bottom);
        EXPECT_EQ(c.buttons, captions);
        for (size_t i = 0; i < places.size() && i < c.offsets.size(); ++i) {
            EXPECT_EQ((client.right - 1) / 2 + c.offsets[i], places[i].left) << i;
            EXPECT_EQ(client.bottom - 1 - 2 * m.lineHeight, places[i].top) << i;
        }
        EXPECT_EQ(firstId, boxButtons[0].controlId) << "fresh ids for every showing";
        EXPECT_EQ(firstId + (int)c.buttons.size(), nextControlId) << "the text label took an id";
        EXPECT_EQ(c.text, labelText);
    }
    WNDCLASSA found;
    EXPECT_TRUE(GetClassInfoA(GetModuleHandleA(NULL), "CMSGCLASS", &found));
    EXPECT_EQ(0, aboutBox.RegisterWindowClass()) << "registered again";
}

TEST(MessageBoxWindow, KeysMoveTheFocusAndPressButtons)
{
    struct Case {
        int style;
        std::vector<WPARAM> keys;
        std::vector<std::string> focus; // at the start and after each key but the last
        int result;
    } cases[] = {
        {0x23, {VK_RETURN}, {"&Yes"}, IDYES},
        {0x23, {'C'}, {"&Yes"}, IDCANCEL},
        {0x23, {'N'}, {"&Yes"}, IDNO},
        {0x23, {VK_LEFT, VK_TAB, VK_RETURN}, {"&Yes", "&Cancel", "&Yes"}, IDYES},
        {0x23, {VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_RETURN}, {"&Yes", "&No", "&Cancel", "&Yes"},
         IDYES},
        {0x124, {VK_RETURN}, {"&No"}, IDNO},
        {0x23, {VK_ESCAPE, VK_UP, 'Y'}, {"&Yes", "&Yes", "&Yes"}, IDYES}, // no meaning of their own
        {0x101, {VK_SPACE}, {"&Cancel"}, IDCANCEL},                      // the button's own key
        {0x200, {VK_RETURN}, {"&Ok"}, IDOK}, // a default beyond the set is the first
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << std::hex << c.style << " key " << c.keys[0]);
        std::vector<std::string> focus;
        std::vector<Step> steps;
        for (WPARAM key : c.keys) {
            steps.push_back([&](HWND) { focus.push_back(LocalText(GetFocus())); });
            steps.push_back(Key(key));
        }
        EXPECT_EQ(c.result, ShowBox(NULL, "Save data?", "Tarvendel", c.style, steps));
        EXPECT_EQ(c.focus, focus);
    }
}

HHOOK creationHook;
const char* refusedClass;

LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam)
{
    char name[32] = "";
    if (code == HCBT_CREATEWND &&
        GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name) &&
        lstrcmpiA(name, refusedClass) == 0)
        return 1;
    return CallNextHookEx(creationHook, code, wParam, lParam);
}

TEST(MessageBoxWindow, EndsWithTheFirstAnswerOrZeroAndGivesTheOwnerBack)
{
    int nested = -1;
    const BOOL enabled = TRUE, disabled = FALSE, none = 2;
    struct Case {
        const char* name;
        BOOL owner; // enabled or disabled (under a modal dialog) before the box, or none
        int style;
        std::vector<Step> steps;
        int result;
        int quitCode;        // -1: no quit message is left for the main loop
        const char* refused; // a window class whose windows cannot be made
    } cases[] = {
        {"clicked", enabled, 0, {ClickBox(0)}, IDOK, -1, NULL},
        {"owner already disabled", disabled, 0, {ClickBox(0)}, IDOK, -1, NULL},
        {"no owner", none, 0, {ClickBox(0)}, IDOK, -1, NULL},
        {"two clicks", enabled, 4, {[](HWND b) { ClickBox(0)(b); ClickBox(1)(b); }}, IDYES, -1, NULL},
        {"closed by the system", enabled, 0, {[](HWND b) { PostMessageA(b, WM_CLOSE, 0, 0); }}, 0,
         -1, NULL},
        {"Alt+F4", enabled, 0x24,
         {[](HWND) { PostMessageA(GetFocus(), WM_SYSKEYDOWN, VK_F4, 0x20000001); }}, 0, -1, NULL},
        {"quit message", enabled, 4, {[](HWND) { PostQuitMessage(5); }}, 0, 5, NULL},
        {"owner destroyed", enabled, 4, {[](HWND b) { DestroyWindow(GetWindow(b, GW_OWNER)); }}, 0,
         -1, NULL},
        {"second box refused", enabled, 0,
         {[&](HWND) {
              nested = messageBox.Show(NULL, "Second", "Again", 0, NULL, 0, kGrey, kFrame) +
                       aboutBox.Show(NULL, "About", "", 0, NULL, 0, kGrey, kFrame);
          },
          ClickBox(0)},
         IDOK, -1, NULL},
        {"no box window", enabled, 1, {}, 0, -1, "CMSGCLASS"},
        {"no button", enabled, 1, {}, 0, -1, "BUTTON"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                     80, 500, 400, NULL, NULL, instanceHandle, NULL);
        EnableWindow(owner, c.owner != disabled);
        HWND seen = NULL, seenOwner = NULL;
        BOOL enabledWhileOpen = TRUE;
        RECT box = {};
        RECT area = {0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
        std::vector<Step> steps = {[&](HWND window) {
            seen = window;
            seenOwner = GetWindow(window, GW_OWNER);
            enabledWhileOpen = IsWindowEnabled(owner);
            GetWindowRect(window, &box);
            if (seenOwner != NULL)
                GetWindowRect(seenOwner, &area);
        }};
        steps.insert(steps.end(), c.steps.begin(), c.steps.end());
        refusedClass = c.refused;
        if (c.refused != NULL)
            creationHook = SetWindowsHookExA(WH_CBT, RefuseCreation, NULL, GetCurrentThreadId());
        HWND boxOwner = c.owner == none ? NULL : owner;
        EXPECT_EQ(c.result, ShowBox(boxOwner, "First", "Tarvendel", c.style, steps));
        if (c.refused != NULL)
            UnhookWindowsHookEx(creationHook);
        EXPECT_EQ(c.refused != NULL, seen == NULL) << "waited for a box that is not there";
        EXPECT_EQ(c.owner != disabled, !IsWindow(owner) || IsWindowEnabled(owner));
        EXPECT_FALSE(IsWindow(seen));
        EXPECT_EQ((HWND)NULL, messageBox.window);
        EXPECT_EQ((char*)NULL, messageBox.text);
        MSG quit;
        BOOL quitLeft = PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
        EXPECT_EQ(c.quitCode, quitLeft ? (int)quit.wParam : -1);
        if (seen != NULL) {
            EXPECT_EQ(boxOwner, seenOwner);
            EXPECT_EQ(c.owner == none, enabledWhileOpen != 0);
            EXPECT_NEAR((area.left + area.right) / 2, (box.left + box.right) / 2, 1) << "centred";
            EXPECT_NEAR((area.top + area.bottom) / 2, (box.top + box.bottom) / 2, 1) << "centred";
        }
        DestroyWindow(owner);
    }
    EXPECT_EQ(0, nested);
}

double CpuSeconds()
{
    FILETIME times[4];
    GetProcessTimes(GetCurrentProcess(), &times[0], &times[1], &times[2], &times[3]);
    return ((double)times[2].dwLowDateTime + (double)times[3].dwLowDateTime +
            4294967296.0 * (times[2].dwHighDateTime + times[3].dwHighDateTime)) / 1e7;
}

void CALLBACK CloseBoxLater(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    PostMessageA(messageBox.window, WM_CLOSE, 0, 0);
}

TEST(MessageBoxWindow, AnOpenBoxWaitsWithoutUsingTheProcessor)
{
    SetTimer(NULL, 0, 1500, CloseBoxLater);
    DWORD start = GetTickCount();
    double cpu = CpuSeconds();
    EXPECT_EQ(0, messageBox.Show(NULL, "Waiting", "Tarvendel", 0, NULL, 0, kGrey, kFrame));
    double used = CpuSeconds() - cpu;
    double seconds = (GetTickCount() - start) / 1000.0;
    EXPECT_GE(seconds, 1.4);
    EXPECT_LT(used, 0.15 * seconds) << used << " s of processor time in " << seconds << " s";
}

TEST(AboutBoxWindow, IsAnEllipseWithItsLinkUnderTheText)
{
    const Metrics m;
    const char* text = "Tarvendel - Version 1.32\nReminders of special days";
    const char* link = "https://tarvendel.example.org/";
    struct Case {
        const char* link;
        int extraLines;
        bool clickLink;
    } cases[] = {{"", 8, false}, {link, 10, true}, {link, 10, false}};
    std::vector<HFONT> fonts;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        RECT box = {}, linkPlace = {};
        bool linkShown = false, elliptic = false;
        Step look = [&](HWND window) {
            GetWindowRect(window, &box);
            HRGN shape = CreateRectRgn(0, 0, 0, 0);
            HRGN ellipse = CreateEllipticRgn(0, 0, aboutBox.outerWidth, aboutBox.outerHeight);
            // The same area; the system may split it into other rectangles.
            elliptic = GetWindowRgn(window, shape) != ERROR &&
                       CombineRgn(shape, shape, ellipse, RGN_XOR) == NULLREGION;
            DeleteObject(shape);
            DeleteObject(ellipse);
            HWND child = GetWindow(window, GW_CHILD);
            for (; child != NULL; child = GetWindow(child, GW_HWNDNEXT)) {
                if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) {
                    linkShown = true;
                    linkPlace = RectIn(child, window);
                }
            }
        };
        Step click = [&](HWND) {
            HWND target = c.clickLink ? aboutBox.linkButton.window : boxButtons[0].window;
            PostMessageA(target, BM_CLICK, 0, 0);
        };
        // Under the test prefix the shell may open nothing; the click still answers.
        EXPECT_EQ(IDOK, DialogDriver(&aboutBox).Run([&] {
            return aboutBox.Show(NULL, text, c.link, 0, MAKEINTRESOURCEA(IDI_TARVENDEL), 0, kGrey,
                                 kFrame);
        }, {look, click}));
        int width = m.Width("Reminders of special days") + 4 * m.charWidth;
        int height = m.lineHeight * (2 + c.extraLines);
        EXPECT_EQ(width + 1, aboutBox.outerWidth);
        EXPECT_EQ(height + 1, aboutBox.outerHeight);
        // One pixel for the ellipse's bounding box, one from centring.
        EXPECT_EQ(width + 2, box.right - box.left);
        EXPECT_EQ(height + 2, box.bottom - box.top);
        EXPECT_TRUE(elliptic);
        EXPECT_EQ(c.link[0] != '\0', linkShown);
        if (linkShown) {
            EXPECT_EQ(aboutBox.linkRect.left, linkPlace.left);
            EXPECT_EQ(m.lineHeight * 5 + 32, linkPlace.top) << "one empty line under the text";
            fonts.push_back(aboutBox.linkFont.handle);
        }
    }
    ASSERT_EQ(2u, fonts.size());
    EXPECT_EQ(0u, GetObjectType(fonts[0])) << "the link font of the last showing was kept";
    EXPECT_EQ((DWORD)OBJ_FONT, GetObjectType(fonts[1]));
}

TEST(SunkenFrame, IsDarkAboveAndLeftAndLightBelowAndRight)
{
    Canvas canvas(20, 20, RGB(0, 0, 0));
    HDC dc = canvas.dc;
    SunkenFrame frame;
    frame.Draw(dc);
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 2, 3)) << "an unplaced frame drew";
    frame.highlight = RGB(255, 255, 255);
    frame.shadow = kFrame;
    RECT area = {2, 3, 12, 10};
    frame.Place(area);
    frame.Draw(dc);
    struct Pixel {
        int x, y;
        COLORREF colour;
    } pixels[] = {{2, 3, kFrame}, {2, 9, kFrame}, {11, 3, kFrame}, {12, 6, RGB(255, 255, 255)},
                  {6, 10, RGB(255, 255, 255)}, {6, 6, RGB(0, 0, 0)}, {13, 11, RGB(0, 0, 0)}};
    for (const Pixel& p : pixels)
        EXPECT_EQ(p.colour, GetPixel(dc, p.x, p.y)) << p.x << "," << p.y;
}

} // namespace
