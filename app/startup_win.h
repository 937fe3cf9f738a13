#pragma once
// The pieces of start-up and the message loop that wWinMain strings together.
#include <windows.h>

class TutorPanel;

// Reopens standard output and error on the parent's console when there is one.
void AttachParentConsole();

// Runs the one message loop with the panel's built-in shortcuts. Returns 1 when GetMessageW
// failed, else 0.
int RunMessageLoop(TutorPanel& panel);
