#include "hotkeys/key_names_win.h"

#include <windows.h>

#include "hotkeys/key_names.h"

std::wstring LayoutKeyName(uint32_t key) {
  UINT scanCode = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  if (scanCode == 0) return {};
  wchar_t name[32] = {};
  int length = GetKeyNameTextW(static_cast<LONG>(scanCode << 16), name, 32);
  if (length <= 0) return {};
  return std::wstring(name, static_cast<size_t>(length));
}

void UseKeyboardLayoutNames() { SetLayoutKeyNames(&LayoutKeyName); }
