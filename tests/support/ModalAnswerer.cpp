#include "ModalAnswerer.h"

#include <algorithm>

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
    char className[64];
    GetClassNameA(window, className, sizeof className);
    if (IsWindowVisible(window) &&
        (strcmp(className, "#32770") == 0 || strcmp(className, "CMSGCLASS") == 0))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::string ModalText(HWND box)
{
    char text[1024] = "";
    HWND label = GetDlgItem(box, 0xFFFF);
    if (label != NULL)
        GetWindowTextA(label, text, sizeof text);
    else
        GetWindowTextA(box, text, sizeof text);
    return text;
}

void ModalAnswerer::AnswerOpenWindows()
{
    std::vector<HWND> open;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&open));
    for (HWND box : open) {
        if (std::find(pressed.begin(), pressed.end(), box) != pressed.end())
            continue;
        AnsweredWindow seen;
        char text[256];
        GetClassNameA(box, text, sizeof text);
        seen.className = text;
        GetWindowTextA(box, text, sizeof text);
        seen.caption = text;
        seen.text = ModalText(box);
        size_t index = answered.size();
        int button = buttons.empty() ? IDOK
                                     : buttons[index < buttons.size() ? index : buttons.size() - 1];
        answered.push_back(seen);
        pressed.push_back(box);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    }
}
