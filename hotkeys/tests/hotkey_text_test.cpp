#include "hotkeys/hotkey_text.h"

#include <gtest/gtest.h>

#include <string>

#include "hotkeys/key_names.h"

namespace {

std::optional<Hotkey> Key(uint32_t modifiers, uint32_t key) { return Hotkey{modifiers, key}; }

TEST(HotkeyDefaults, TenSlotsWithTheirTextForms) {
  const wchar_t* expected[kHotkeySlotCount] = {L"F9",          L"F10", L"Right Alt",  L"Ctrl+Alt+C", L"Ctrl+Alt+X",
                                               L"Right Click", L"",    L"Ctrl+Alt+H", L"",           L""};
  HotkeyTable table = DefaultHotkeyTable();
  for (int slot = 0; slot < kHotkeySlotCount; ++slot) {
    EXPECT_EQ(HotkeyToText(table[slot]), expected[slot]) << HotkeySlotName(slot);
  }
  EXPECT_STREQ(HotkeySlotName(HotkeySlot::ToggleModeAlt), L"ToggleModeAlt");
  EXPECT_EQ(HotkeySlotName(10), nullptr);
  EXPECT_EQ(HotkeySlotName(-1), nullptr);
}

TEST(HotkeyText, ModifiersAlwaysInOneOrderAndPackedHalves) {
  EXPECT_EQ(HotkeyToText({kModAll, 'K'}), L"Ctrl+Alt+Shift+Win+K");
  EXPECT_EQ(HotkeyToText({kModShift, 0x70}), L"Shift+F1");
  EXPECT_EQ(HotkeyToText({kModCtrl, 0}), L"");  // unbound, never "VK_0x00"
  Hotkey hotkey{kModCtrl | kModAlt, 0x43};
  EXPECT_EQ(hotkey.packed(), (uint64_t{0x43} << 32) | 3u);
  EXPECT_EQ(Hotkey::FromPacked(hotkey.packed()), hotkey);
}

TEST(KeyNames, FixedNamesAndTheHexFallback) {
  EXPECT_EQ(KeyName(2), L"Right Click");
  EXPECT_EQ(KeyName(6), L"Mouse 5");
  EXPECT_EQ(KeyName(96), L"Num 0");
  EXPECT_EQ(KeyName(105), L"Num 9");
  EXPECT_EQ(KeyName(112), L"F1");
  EXPECT_EQ(KeyName(135), L"F24");
  EXPECT_EQ(KeyName(220), L"\\");
  EXPECT_EQ(KeyName('7'), L"7");
  EXPECT_EQ(KeyName(1), L"VK_0x01");  // left button: no name without a layout
  EXPECT_EQ(KeyName(27), L"VK_0x1B");
  EXPECT_EQ(KeyName(255), L"VK_0xFF");
  EXPECT_EQ(KeyName(0x1AB), L"VK_0x1AB");
}

TEST(HotkeyText, EveryKeyCodeReadsBackFromItsTextForm) {
  for (uint32_t key = 1; key <= 255; ++key) {
    for (uint32_t modifiers : {0u, kModAll, kModCtrl | kModShift}) {
      std::wstring text = HotkeyToText({modifiers, key});
      EXPECT_EQ(ParseHotkey(text), Key(modifiers, key)) << ::testing::PrintToString(text);
    }
  }
  for (uint32_t modifiers = 0; modifiers <= kModAll; ++modifiers) {
    EXPECT_EQ(ParseHotkey(HotkeyToText({modifiers, 165})), Key(modifiers, 165));
  }
}

TEST(ParseHotkey, CaseBlanksAndModifierOrderDoNotMatter) {
  EXPECT_EQ(ParseHotkey(L" ctrl + alt + c\r\n"), Key(kModCtrl | kModAlt, 0x43));
  EXPECT_EQ(ParseHotkey(L"Alt+Ctrl+C"), Key(kModCtrl | kModAlt, 0x43));
  EXPECT_EQ(HotkeyToText(*ParseHotkey(L"Alt+Ctrl+C")), L"Ctrl+Alt+C");
  EXPECT_EQ(ParseHotkey(L"\tSHIFT+win+f1"), Key(kModShift | kModWin, 112));
  EXPECT_EQ(ParseHotkey(L"Ctrl+Ctrl+A"), Key(kModCtrl, 'A'));  // a repeated modifier adds nothing
  EXPECT_EQ(ParseHotkey(L"right click"), Key(0, 2));
  EXPECT_EQ(ParseHotkey(L"Right Click"), Key(0, 2));
  EXPECT_EQ(ParseHotkey(L"right alt"), Key(0, 165));
  EXPECT_EQ(ParseHotkey(L"num 7"), Key(0, 103));
  EXPECT_EQ(ParseHotkey(L"Ctrl+\\"), Key(kModCtrl, 220));
}

TEST(ParseHotkey, RefusesWhatIsNotABinding) {
  for (const wchar_t* text : {L"", L"  \t", L"Ctrl+", L"Ctrl+ ", L"Hyper+A", L"+A", L"Ctrl++A", L"A+B", L"Esc",
                              L"escape", L"None", L"F0", L"F25", L"VK_0x", L"VK_0x100", L"VK_0x0",
                              L"VK_0x-1", L"VK_0x1G", L"Ctrl+Alt+Nothing", L"A\u00A0"}) {
    EXPECT_EQ(ParseHotkey(text), std::nullopt) << ::testing::PrintToString(std::wstring(text));
  }
}

TEST(ParseHotkey, FunctionAndHexKeys) {
  EXPECT_EQ(ParseHotkey(L"F24"), Key(0, 135));
  EXPECT_EQ(ParseHotkey(L"f1"), Key(0, 112));
  EXPECT_EQ(ParseHotkey(L"F01"), Key(0, 112));
  EXPECT_EQ(ParseHotkey(L"F1x"), Key(0, 112));  // leading digits only, as the stored form is read
  EXPECT_EQ(ParseHotkey(L"VK_0xFF"), Key(0, 255));
  EXPECT_EQ(ParseHotkey(L"vk_0X1b"), Key(0, 27));  // Esc only in this form
  EXPECT_EQ(ParseHotkey(L"Ctrl+VK_0x0000041"), Key(kModCtrl, 0x41));
}

// A keyboard layout that names keys the way real ones do: some names collide with fixed names or
// with each other, one contains the text form's separator, one has blanks, one reads "none".
std::wstring FakeLayoutName(uint32_t key) {
  switch (key) {
    case 12: return L"Num 5";  // VK_CLEAR shares the scan code of numpad 5
    case 107: return L"Num +";
    case 111: return L"/";  // numpad divide without the extended bit
    case 226: return L"<";
    case 173: return L"Mute";
    case 175: return L"mute";
    case 3: return L" Break";
    case 174: return L"None";
    case 27: return L"Esc";
    case 18: return L"Alt";
    default: return {};
  }
}

class LayoutKeyNames : public ::testing::Test {
 protected:
  void SetUp() override { SetLayoutKeyNames(&FakeLayoutName); }
  void TearDown() override { SetLayoutKeyNames(nullptr); }
};

TEST_F(LayoutKeyNames, LayoutNamesThatReadBackAreShownOthersBecomeHex) {
  EXPECT_EQ(KeyName(226), L"<");
  EXPECT_EQ(KeyName(173), L"Mute");
  EXPECT_EQ(KeyName(18), L"Alt");
  EXPECT_EQ(KeyName(175), L"VK_0xAF");  // "mute" already names 173
  EXPECT_EQ(KeyName(12), L"VK_0x0C");   // "Num 5" is numpad 5's
  EXPECT_EQ(KeyName(111), L"VK_0x6F");  // "/" is the slash key's
  EXPECT_EQ(KeyName(107), L"VK_0x6B");  // a "+" would split the text form
  EXPECT_EQ(KeyName(3), L"VK_0x03");
  EXPECT_EQ(KeyName(174), L"VK_0xAE");  // "None" clears a secondary binding when loaded
  EXPECT_EQ(KeyName(27), L"VK_0x1B");   // Esc is never found by name
  EXPECT_EQ(KeyName(101), L"Num 5");
}

TEST_F(LayoutKeyNames, FixedNamesWinOverLayoutNamesWhenParsing) {
  EXPECT_EQ(ParseHotkey(L"Num 5"), Key(0, 101));
  EXPECT_EQ(ParseHotkey(L"/"), Key(0, 191));
  EXPECT_EQ(ParseHotkey(L"Ctrl+<"), Key(kModCtrl, 226));
  EXPECT_EQ(ParseHotkey(L"MUTE"), Key(0, 173));
  EXPECT_EQ(ParseHotkey(L"Esc"), std::nullopt);
}

TEST_F(LayoutKeyNames, EveryKeyCodeStillReadsBack) {
  for (uint32_t key = 1; key <= 255; ++key) {
    std::wstring text = HotkeyToText({kModAlt, key});
    EXPECT_EQ(ParseHotkey(text), Key(kModAlt, key)) << key;
  }
}

}  // namespace
