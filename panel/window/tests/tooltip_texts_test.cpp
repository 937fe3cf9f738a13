#include "panel/window/tooltip_texts.h"

#include <gtest/gtest.h>

#include <map>

namespace {

std::map<int, std::wstring> ById(const std::vector<ControlTip>& tips) {
  std::map<int, std::wstring> byId;
  for (const ControlTip& tip : tips) EXPECT_TRUE(byId.emplace(tip.id, tip.text).second) << tip.id;
  return byId;
}

TEST(TooltipTexts, EveryTipAndTheHotkeysTheyName) {
  std::map<int, std::wstring> tips = ById(PanelTips(DefaultHotkeyTable()));
  // Controls 100-103, 108-110, 125-126, 135-139 and 145-149.
  EXPECT_EQ(tips.size(), 4u + 3u + 2u + 5u + 5u);
  EXPECT_EQ(tips[103], L"Read the topmost question on your screen (F9)");
  EXPECT_EQ(tips[110], L"Snip a math equation, diagram, or region for Vision (F10)");
  EXPECT_EQ(tips[101], L"Hide Tavisk (Right Alt to show it again)");
  EXPECT_EQ(tips[102], L"Stealth edge strip (Ctrl+Alt+C to toggle)");
  EXPECT_EQ(tips[108], tips[102]);
  EXPECT_EQ(tips[100], L"Close Tavisk");
  EXPECT_EQ(tips[109], L"Settings");
  EXPECT_EQ(tips[137], tips[135]);
  EXPECT_EQ(tips[149], L"Optional secondary shortcut. Click to bind, or press Delete / Backspace to clear.");

  // Rebinding: only the tips that name that action follow; secondary bindings name nothing.
  HotkeyTable table = DefaultHotkeyTable();
  table[HotkeySlot::Scan] = Hotkey{kModCtrl | kModShift, 'S'};
  table[HotkeySlot::SnipAlt] = Hotkey{kModCtrl, 'Q'};
  std::map<int, std::wstring> rebound = ById(PanelTips(table));
  EXPECT_EQ(rebound[103], L"Read the topmost question on your screen (Ctrl+Shift+S)");
  rebound.erase(103);
  tips.erase(103);
  EXPECT_EQ(rebound, tips);
}

}  // namespace
