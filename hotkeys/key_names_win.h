#pragma once
// Key names from the active keyboard layout, for keys without a fixed name.
#include <cstdint>
#include <string>

// The layout's name of a virtual key (MapVirtualKeyW, GetKeyNameTextW), or empty.
std::wstring LayoutKeyName(uint32_t key);

// Makes KeyName, HotkeyToText and ParseHotkey use the layout's names. Idempotent; called before
// the settings are loaded.
void UseKeyboardLayoutNames();
