#include "ModalAnswerer.h"

#include "controls/AboutBox.h"
#include "resources/resource.h"

#include <algorithm>

#include <stdio.h>
#include <string.h>

static ModalAnswerer* activeAnswerer;

ModalAnswerer::ModalAnswerer(std::vector<int> buttonIds) : buttons(buttonIds), timer(0)
{
    activeAnswerer = this;
    timer = SetTimer(NULL, 0, 30, OnTimer);
}

ModalAnswerer::~ModalAnswerer()
{
    KillTimer(NULL, timer);
    activeAnswerer = NULL;
}

void CALLBACK ModalAnswerer::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (activeAnswerer != NULL)
        activeAnswerer->AnswerOpenWindows();
}

static BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    if (IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleThreadWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string LocalText(HWND window)
{
    std::string text(GetWindowTextLengthA(window) + 1, '\0');
    text.resize(GetWindowTextA(window, &text[0], (int)text.size()));
    return text;
}

std::string ModalText(HWND box)
{
    HWND label = GetDlgItem(box, 0xFFFF);
    return LocalText(label != NULL ? label : box);
}

void PressButton(HWND box, int result, std::string (*readText)(HWND))
{
    if (ClassOf(box) != "CMSGCLASS") {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(result, BN_CLICKED), 0);
        return;
    }
    const char* caption = result == IDOK ? "&Ok" : result == IDCANCEL ? "&Cancel"
                        : result == IDYES ? "&Yes" : result == IDNO ? "&No" : NULL;
    // The box's buttons are its own children.
    HWND found = NULL;
    for (HWND child = GetWindow(box, GW_CHILD); child != NULL && caption != NULL && found == NULL;
         child = GetWindow(child, GW_HWNDNEXT))
        if (_stricmp(ClassOf(child).c_str(), "BUTTON") == 0 && readText(child) == caption)
            found = child;
    if (found == NULL) {
        PostMessageA(box, WM_CLOSE, 0, 0);
        return;
    }
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(found), BN_CLICKED),
                 reinterpret_cast<LPARAM>(found));
}

AnsweredWindow DescribeWindow(HWND box)
{
    AnsweredWindow seen;
    seen.className = ClassOf(box);
    seen.caption = LocalText(box);
    seen.text = ModalText(box);
    MessageBoxWindow* shown = box == aboutBox.window     ? &aboutBox
                              : box == messageBox.window ? &messageBox
                                                         : NULL;
    if (shown != NULL) {
        seen.style = shown->style;
        seen.icon = shown->icon;
        seen.textColour = shown->textColour;
        seen.backgroundColour = shown->backgroundColour;
        seen.frameColour = shown->frame.shadow;
    }
    return seen;
}

std::string BoxLook(const AnsweredWindow& box)
{
    const struct {
        HICON icon;
        const char* name;
    } icons[] = {{LoadIconA(NULL, MAKEINTRESOURCEA(32513)), "stop"},
                 {LoadIconA(NULL, MAKEINTRESOURCEA(32514)), "question"},
                 {LoadIconA(NULL, MAKEINTRESOURCEA(32515)), "exclamation"},
                 {LoadIconA(NULL, MAKEINTRESOURCEA(32516)), "information"},
                 {LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDI_TARVENDEL)), "program"}};
    const char* icon = box.icon == NULL ? "no" : "unknown";
    for (const auto& known : icons)
        if (box.icon != NULL && box.icon == known.icon)
            icon = known.name;
    char look[128];
    snprintf(look, sizeof look, "style 0x%x, %s icon, %06lx on %06lx, frame %06lx", box.style, icon,
             (unsigned long)box.textColour, (unsigned long)box.backgroundColour,
             (unsigned long)box.frameColour);
    return look;
}

void ModalAnswerer::AnswerOpenWindows()
{
    for (HWND box : VisibleThreadWindows()) {
        std::string name = ClassOf(box);
        if ((name != "#32770" && name != "CMSGCLASS") ||
            std::find(pressed.begin(), pressed.end(), box) != pressed.end())
            continue;
        AnsweredWindow seen = DescribeWindow(box);
        size_t index = answered.size();
        int button = buttons.empty() ? IDOK
                                     : buttons[index < buttons.size() ? index : buttons.size() - 1];
        answered.push_back(seen);
        pressed.push_back(box);
        PressButton(box, button, LocalText);
    }
}
