#pragma once
// The window classes of the panel's top-level windows. Each window's class is registered by its own
// type (TutorPanel, ShadowWindow, StripWindow, SnipOverlay); this registers them all at start-up.
#include <windows.h>

// One class with the application instance, no icon, no menu, no background brush, no extra bytes.
// `cursor` is a system cursor or null for none. False when the class could not be registered.
bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, UINT style, WNDPROC procedure,
                         const wchar_t* cursor);

// Registers the panel, shadow, strip and snip classes. False when the panel's class failed; the
// others are not needed to run.
bool RegisterWindowClasses(HINSTANCE instance);

// Gives `window` the active look of its frame (under glass it always looks active).
inline void ShowActiveFrame(HWND window) { DefWindowProcW(window, WM_NCACTIVATE, TRUE, -1); }
