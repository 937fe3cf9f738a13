#include "panel/context_menu_win.h"

MenuCommand TrackContextMenu(HWND, int, int, const PanelState&) {
  return MenuCommand::None;  // the menu's entries arrive with the menu itself
}

void CopyAnswerToClipboard(HWND, const PanelState&) {
  // Copying arrives with the menu.
}
