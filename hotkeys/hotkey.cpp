#include "hotkeys/hotkey.h"

HotkeyTable DefaultHotkeyTable() {
  using namespace HotkeySlot;
  HotkeyTable table{};
  table[Scan] = {0, 0x78};                      // F9
  table[Snip] = {0, 0x79};                      // F10
  table[ToggleVisible] = {0, 0xA5};             // Right Alt
  table[ToggleMode] = {kModCtrl | kModAlt, 'C'};
  table[Quit] = {kModCtrl | kModAlt, 'X'};
  table[ScanAlt] = {0, kKeyRightButton};
  table[ToggleVisibleAlt] = {kModCtrl | kModAlt, 'H'};
  return table;
}

const wchar_t* HotkeySlotName(int slot) {
  static constexpr const wchar_t* kNames[kHotkeySlotCount] = {
      L"Scan",    L"Snip",    L"ToggleVisible",    L"ToggleMode",    L"Quit",
      L"ScanAlt", L"SnipAlt", L"ToggleVisibleAlt", L"ToggleModeAlt", L"QuitAlt",
  };
  return IsValidSlot(slot) ? kNames[slot] : nullptr;
}
