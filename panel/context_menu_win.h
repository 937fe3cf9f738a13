#pragma once
// The panel's popup menu (opened from the keyboard) and the copy of the answer to the clipboard.
#include <windows.h>

#include "panel/panel_state.h"

// The menu's commands, by their item IDs.
enum class MenuCommand : int {
  None = 0,  // dismissed
  OpenPanel = 201,
  Scan = 202,
  Snip = 203,
  Ask = 204,
  CopyAnswer = 205,
  HandsFree = 206,
};

// Runs the menu at screen point (x, y), or at the panel's top-left corner for (-1, -1), and returns
// the command chosen.
MenuCommand TrackContextMenu(HWND panel, int x, int y, const PanelState& state);

// Puts the answer and its explanation on the clipboard as text. Does nothing unless the last reply
// is an answer.
void CopyAnswerToClipboard(HWND panel, const PanelState& state);
