#pragma once
// The pieces of start-up and the message loop that wWinMain strings together.
#include <windows.h>

class TutorPanel;

// Reopens standard output and error on the parent's console when there is one.
void AttachParentConsole();

// Same shape as GetMessageW, so tests can stand in for it.
using GetMessageFn = BOOL(WINAPI*)(LPMSG message, HWND window, UINT first, UINT last);

// Runs the one message loop with the panel's built-in shortcuts. Returns 0 when the loop ends with
// the quit message, 1 when getting a message failed; the panel's window is then destroyed before
// this returns, as in a normal shutdown.
int RunMessageLoop(TutorPanel& panel, GetMessageFn getMessage = &GetMessageW);
