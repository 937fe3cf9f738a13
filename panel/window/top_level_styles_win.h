#pragma once
#include <windows.h>

// The shadow and the stealth strip: topmost tool windows that are layered, let every click through
// and are never activated.
inline constexpr DWORD kLayeredOverlayExStyle =
    WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_LAYERED | WS_EX_NOACTIVATE;
