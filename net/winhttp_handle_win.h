#pragma once
// One WinHTTP handle (session, connection or request), closed exactly once.
#include <windows.h>
#include <winhttp.h>

#include "core/unique_handle_win.h"

inline void CloseWinHttpHandle(HINTERNET handle) noexcept { WinHttpCloseHandle(handle); }
using WinHttpHandle = UniqueHandle<HINTERNET, &CloseWinHttpHandle>;
