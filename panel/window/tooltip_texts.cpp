#include "panel/window/tooltip_texts.h"

#include "hotkeys/hotkey_text.h"

std::vector<ControlTip> PanelTips(const HotkeyTable& bindings) {
  auto key = [&](int slot) { return HotkeyToText(bindings[static_cast<size_t>(slot)]); };
  const std::wstring stealth = L"Stealth edge strip (" + key(HotkeySlot::ToggleMode) + L" to toggle)";
  std::vector<ControlTip> tips = {
      {100, L"Close Tavisk"},
      {101, L"Hide Tavisk (" + key(HotkeySlot::ToggleVisible) + L" to show it again)"},
      {102, stealth},
      {108, stealth},
      {103, L"Read the topmost question on your screen (" + key(HotkeySlot::Scan) + L")"},
      {110, L"Snip a math equation, diagram, or region for Vision (" + key(HotkeySlot::Snip) + L")"},
      {109, L"Settings"},
  };
  for (int id : {125, 126}) tips.push_back({id, L"Enables translucent Liquid Glass blur and edge refraction."});
  for (int id : {135, 136, 137}) {
    tips.push_back({id, L"Transparent edge strip split into 4 sections (A top to D bottom) that matches the "
                        L"background color with subtle contrast."});
  }
  for (int id : {138, 139}) {
    tips.push_back({id, L"Choose whether the Stealth strip docks along the left or right edge of the screen."});
  }
  for (int id = 145; id <= 149; ++id) {
    tips.push_back({id, L"Optional secondary shortcut. Click to bind, or press Delete / Backspace to clear."});
  }
  return tips;
}
