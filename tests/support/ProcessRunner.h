// Starts Tarvendel.exe as a process of its own and answers its boxes from outside.
#pragma once

#include "ModalAnswerer.h"

#include <functional>
#include <string>
#include <vector>

struct ProcessRun {
    int finished;    // 0 when it had to be ended after the time-out
    DWORD exitCode;
    int windowsShown; // visible top-level windows of the process, boxes included
    std::vector<AnsweredWindow> boxes;
};

std::string TarvendelPath(); // beside the test executable
// Paths and command lines here are UTF-8, so that a folder outside the
// system's code page can be started from.
std::wstring Wide(const std::string& utf8);
std::string RemoteText(HWND window); // another process's window text

// Called once when the program's main window has appeared; it may look at
// it and then close it (WM_CLOSE).
typedef std::function<void(HWND mainWindow)> MainWindowVisit;

// How a start is typed: the command line's first token (the quoted program
// path when empty) and the current folder (the test's own when empty).
struct StartedAs {
    std::string name;
    std::string folder;
    // The class of the window visit is handed: the main window's, or
    // another (the alert window's "CMSGCLASS").
    std::string visited = "MainClass";
};

// Runs "program" with arguments, pressing button in every box it shows.
ProcessRun RunProgram(const std::string& program, const std::string& arguments,
                      int button = IDOK, DWORD timeoutMs = 20000,
                      MainWindowVisit visit = MainWindowVisit(), const StartedAs& as = StartedAs());

// Answers with OK every box the main window's process shows until none has
// come for a while; the texts shown, in order.
std::vector<std::string> AnswerBoxes(HWND main);

// Another process's list box lines and status-bar part texts.
std::vector<std::string> RemoteListLines(HWND list);
std::string RemoteStatusText(HWND status, int part);
// A window directly under parent with the window class, or null.
HWND FindChildOfClass(HWND parent, const char* className);

// A visible window of the class in the process of sameProcess, waited for.
HWND WaitForWindowOfClass(HWND sameProcess, const char* className, DWORD timeoutMs);

// Opens Setup from the program's main window, clicks "Run at startup" clicks
// times, presses OK, and answers with OK every box the program shows until
// the dialog has closed, their texts added to boxes. Returns whether the box
// showed ticked as the dialog opened; -1 when no dialog came.
int RunRemoteSetup(HWND main, int clicks, std::vector<std::string>* boxes);
