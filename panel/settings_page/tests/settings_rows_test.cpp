#include "panel/settings_page/settings_rows.h"

#include <gtest/gtest.h>

#include "panel/window/panel_controls.h"

namespace {

TEST(SettingsRows, SectionSummaries) {
  UiSettings defaults;
  UiSettings changed;
  changed.quality = QueryQuality::Deep;
  changed.visionOnScan = true;
  changed.lightTheme = true;
  changed.liquidGlass = false;
  changed.stripRight = true;
  changed.stripWidth = 2;
  changed.handsFreeSeconds = 10;
  changed.hotkeys[HotkeySlot::Snip] = Hotkey{kModCtrl, 'K'};
  struct Case {
    int section;
    const UiSettings& settings;
    bool local;
    const wchar_t* summary;
  };
  for (const Case& c : {
           Case{0, defaults, true, L"Local key"},
           Case{0, defaults, false, L""},
           Case{1, defaults, false, L"Fast"},
           Case{1, changed, false, L"Deep \u00B7 Vision"},
           Case{2, defaults, false, L"Dark \u00B7 Glass"},
           Case{2, changed, false, L"Light \u00B7 Solid"},
           Case{3, defaults, false, L"Left \u00B7 6px \u00B7 Manual"},
           Case{3, changed, false, L"Right \u00B7 2px \u00B7 Auto 10s"},
           Case{4, defaults, false, L"F9 \u00B7 F10 \u00B7 Right Alt"},
           Case{4, changed, false, L"F9 \u00B7 Ctrl+K \u00B7 Right Alt"},
           Case{7, defaults, true, L""},
       }) {
    EXPECT_EQ(SectionSummary(c.section, c.settings, c.local), c.summary) << c.section;
  }
}

TEST(SettingsRows, HintLinePrecedence) {
  const std::wstring style = L"Dark mode";
  std::array<bool, kHoverRows> none{};
  auto hovered = [](std::initializer_list<int> flags) {
    std::array<bool, kHoverRows> hover{};
    for (int flag : flags) hover[static_cast<size_t>(flag)] = true;
    return hover;
  };
  struct Case {
    const char* what;
    int open;
    std::array<bool, kHoverRows> hover;
    int hot;
    const wchar_t* hint;
  };
  for (const Case& c : {
           Case{"nothing hovered", 2, none, 0, L"Dark mode"},
           Case{"quality row has no hint", 1, hovered({1}), 0, L"Dark mode"},
           Case{"theme segment has no hint", 2, none, 124, L"Dark mode"},
           Case{"liquid glass row", 2, hovered({0}), 0, L"Translucent backdrop blur & edge refraction"},
           Case{"liquid glass segment hot", 2, none, 126, L"Translucent backdrop blur & edge refraction"},
           Case{"vision row", 1, hovered({2}), 0, L"Uses Vision on Scan for equations & graphs"},
           Case{"hands-free before strip width", 3, hovered({3, 4}), 0, L"Auto-scans Stealth when screen changes"},
           Case{"hovered row before a later hot one", 3, hovered({4}), 139,
                L"Edge A\u2013D strip \u00B7 blends with background"},
           Case{"screen side", 3, none, 138, L"Dock Stealth strip on left or right edge"},
           Case{"a row of a closed section", 1, hovered({0}), 0, L"Dark mode"},
       }) {
    EXPECT_EQ(HintLine(c.open, c.hover, c.hot, style), c.hint) << c.what;
  }
}

TEST(SettingsRows, RowsGeometryAndHover) {
  // Segments tile their control, inset by 2.5, and the control ends at W - 34.
  for (int slot = 0; slot < kSegmentedRows; ++slot) {
    const SegmentedRow& row = SegmentedRowTable()[static_cast<size_t>(slot)];
    const RectF control = SegmentedControlRect(388, slot, row.section);
    EXPECT_FLOAT_EQ(control.x + control.width, 388 - 34) << slot;
    const RectF last = SegmentRect(388, slot, row.section, row.count - 1);
    EXPECT_FLOAT_EQ(last.x + last.width, control.x + control.width - 2.5f) << slot;
    EXPECT_FLOAT_EQ(last.height, 21) << slot;
    for (int i = 0; i < row.count; ++i) EXPECT_EQ(RowOfSegment(row.firstId + i), slot);
  }
  EXPECT_EQ(RowOfSegment(140), -1);
  // Stealth open: hands-free at 104 + 3 * 34 + 34 (account, general and style closed before it).
  const float handsFreeY = SectionRect(388, 3, 3).y + 34;
  EXPECT_FLOAT_EQ(handsFreeY, 104 + 3 * 34 + 34);
  EXPECT_TRUE(HoveredRows(388, 3, 40, handsFreeY - 2)[3]);
  EXPECT_FALSE(HoveredRows(388, 3, 40, handsFreeY - 2.5f)[3]);
  EXPECT_TRUE(HoveredRows(388, 3, 40, handsFreeY + 27.5f)[3]);
  EXPECT_EQ(HoveredRows(388, 3, 40, SectionRect(388, 3, 3).y + 34 + 35 * 3), (std::array<bool, kHoverRows>{}));
}

TEST(SettingsRows, KeycapsAndTheHotkeysHint) {
  HotkeyTable table = DefaultHotkeyTable();
  EXPECT_EQ(KeycapText(table, HotkeySlot::Scan, -1), L"F9");
  EXPECT_EQ(KeycapText(table, HotkeySlot::SnipAlt, -1), L"None");
  EXPECT_EQ(KeycapText(table, HotkeySlot::SnipAlt, HotkeySlot::SnipAlt), L"Press key\u2026");
  EXPECT_EQ(KeycapText(table, 12, -1), L"");
  EXPECT_EQ(HotkeysHintLine(-1, L"", false), (HotkeysHint{L"Primary & secondary shortcuts", false}));
  EXPECT_EQ(HotkeysHintLine(-1, L"Already assigned", true), (HotkeysHint{L"Already assigned", true}));
  EXPECT_EQ(HotkeysHintLine(2, L"", false), (HotkeysHint{L"Press key (Esc cancels)", false}));
  EXPECT_EQ(HotkeysHintLine(7, L"", false), (HotkeysHint{L"Press key (Del clears \u00B7 Esc cancels)", false}));
  // Keycaps sit in two columns of five rows, 25 apart.
  EXPECT_FLOAT_EQ(KeycapRect(388, 300, HotkeySlot::QuitAlt).y, 300 + 56 + 100);
  EXPECT_FLOAT_EQ(KeycapRect(388, 300, HotkeySlot::QuitAlt).x, 388 - 138);
  EXPECT_FLOAT_EQ(KeycapRect(388, 300, HotkeySlot::Quit).x, 388 - 248);
}

TEST(SettingsRows, StyleStatusText) {
  using enum BackdropVerdict;
  EXPECT_EQ(StyleStatusText(false, true, true, Dark, L""), L"Light mode");
  EXPECT_EQ(StyleStatusText(false, false, false, None, L""), L"Dark mode");
  EXPECT_EQ(StyleStatusText(true, false, false, None, L""), L"Glass off: Windows transparency unavailable");
  EXPECT_EQ(StyleStatusText(true, true, false, Light, L"x"), L"Light mode");
  EXPECT_EQ(StyleStatusText(true, true, true, Dark, L"x"), L"Dark mode");
  EXPECT_EQ(StyleStatusText(true, true, true, None, L"Glass: sampling"), L"Glass: sampling");
  EXPECT_EQ(SettingsButtonName(L"Dark mode"), L"Settings: Dark mode");
}

}  // namespace
