#pragma once
// The command-line commands of vyk.exe (--version, --diagnose), run instead of the tutor.
#include <windows.h>

#include <string>
#include <vector>

#include "app/program_command.h"

// The process's arguments after the program's own name.
std::vector<std::wstring> CommandLineArguments();

// Runs `command` (not RunTutor) and returns the process exit code. Output goes to the standard
// output the program inherited (a pipe or a file), or else to the console it was started from.
int RunProgramCommand(ProgramCommand command, HINSTANCE instance);
