#pragma once
// The panel's popup menu (opened from the keyboard) and the clipboard.
#include <windows.h>

#include <string_view>
#include <vector>

#include "panel/window/context_menu.h"

// Shows `items` at screen point (x, y) and returns the command chosen (None when dismissed or when
// the menu could not be made). Modal: returns when the menu closes.
MenuCommand TrackContextMenu(HWND owner, POINT at, const std::vector<MenuItem>& items);

// Replaces the clipboard's content with `text` as Unicode text. False, with the clipboard as it was,
// when it cannot be opened or the memory cannot be had.
bool PutTextOnClipboard(HWND owner, std::wstring_view text);
