#pragma once
// The panel's tooltip texts, one per child control that has one; those that name a hotkey are made
// from the current primary bindings.
#include <string>
#include <vector>

#include "hotkeys/hotkey.h"

struct ControlTip {
  int id = 0;
  std::wstring text;
  bool operator==(const ControlTip&) const = default;
};

std::vector<ControlTip> PanelTips(const HotkeyTable& bindings);
