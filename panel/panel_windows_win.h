#pragma once
// Window classes and the creation of the panel's top-level windows.
#include <windows.h>

class TutorPanel;

// Registers the panel, shadow, strip and snip classes. False when the panel class failed.
bool RegisterWindowClasses(HINSTANCE instance, WNDPROC panelProc, WNDPROC snipProc);

// Creates the (hidden) main panel window with `panel` as its creation parameter.
HWND CreatePanelWindow(HINSTANCE instance, TutorPanel& panel);
// The shadow (owned by the panel) and the stealth strip: layered, click-through, never activated.
HWND CreateShadowWindow(HINSTANCE instance, HWND panel);
HWND CreateStripWindow(HINSTANCE instance);

// Hides a window from screen capture; on failure returns false with the system error in `error`.
bool ExcludeFromCapture(HWND window, DWORD& error);

