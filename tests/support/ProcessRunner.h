// Starts Tarvendel.exe as a process of its own and answers its boxes from outside.
#pragma once

#include "ModalAnswerer.h"

#include <string>
#include <vector>

struct ProcessRun {
    int finished;    // 0 when it had to be ended after the time-out
    DWORD exitCode;
    int windowsShown; // visible top-level windows of the process, boxes included
    std::vector<AnsweredWindow> boxes;
};

std::string TarvendelPath(); // beside the test executable

// Runs "program" with arguments, pressing button in every box it shows.
ProcessRun RunProgram(const std::string& program, const std::string& arguments,
                      int button = IDOK, DWORD timeoutMs = 20000);
