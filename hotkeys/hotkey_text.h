#pragma once
// The text form of a binding ("Ctrl+Alt+C"), shown in the settings and stored in the INI file.
#include <optional>
#include <string>
#include <string_view>

#include "hotkeys/hotkey.h"

// "Ctrl+", "Alt+", "Shift+", "Win+" (always in this order) and the key's name; empty when unbound.
std::wstring HotkeyToText(Hotkey hotkey);

// Reads a text form back: modifier tokens and a key token separated by "+", case and blanks
// around tokens ignored. Nothing when the text is not a valid binding.
std::optional<Hotkey> ParseHotkey(std::wstring_view text);
