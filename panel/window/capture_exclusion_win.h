#pragma once
// Hiding the program's top-level windows from screen capture, and what a failure means.
#include <windows.h>

#include "core/unique_handle_win.h"

// The shipped program never shows a window that screen capture could record. Development builds
// run where nothing can be hidden (Wine): they log each failure and keep the window.
enum class CapturePolicy { Required, DevTolerated };

// "[vyk] Window capture exclusion could not be set (error <error>)."
void ReportCaptureFailure(DWORD error);

// Hides `window` from capture. True when hidden, or when the policy tolerates the failure (one log
// line per window). Otherwise false, with the system error left as the thread's last error.
bool HideFromCapture(HWND window, CapturePolicy policy);

// For the Create functions of the top-level windows: keeps `window` when it exists and is hidden
// from capture (or the policy tolerates that); otherwise destroys it, keeping the error of the step
// that failed as the thread's last error, and returns false.
bool KeepOnlyIfHidden(UniqueWindow& window, CapturePolicy policy);
