#pragma once
// The settings page's side of recording a binding: what a recording result does to the table,
// and the status line it leaves.
#include <cstdint>

#include "hotkeys/hotkey.h"

enum class CaptureOutcome {
  Cancelled,        // Esc (or no key): the slot keeps its binding, the status is cleared
  Cleared,          // a secondary slot was unbound; save the table
  Saved,            // the slot holds the new binding; save the table
  AlreadyAssigned,  // another slot has that binding; nothing changed
};

// Applies the wParam/lParam of a recording result to `slot` of `table`.
CaptureOutcome ApplyCapturedHotkey(HotkeyTable& table, int slot, uint32_t wParam, uint32_t lParam);

struct HotkeyStatus {
  const wchar_t* text;  // empty for none
  bool error;           // drawn in the error colour
};
HotkeyStatus StatusAfterCapture(CaptureOutcome outcome);

// The status after the default bindings were put back.
inline constexpr HotkeyStatus kDefaultsRestoredStatus{L"Defaults restored", false};
