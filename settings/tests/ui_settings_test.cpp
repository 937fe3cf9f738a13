#include "settings/ui_settings_store.h"

#include <gtest/gtest.h>

#include "settings/tests/fake_ini_file.h"

namespace {

UiSettings Load(FakeIniFile& file) {
  UiSettings settings;
  LoadUiSettings(file, settings);
  return settings;
}

TEST(UiSettingsLoad, AnEmptyFileGivesTheDefaults) {
  FakeIniFile file;
  UiSettings loaded = Load(file);
  EXPECT_EQ(loaded, UiSettings{});
  EXPECT_FALSE(loaded.lightTheme);
  EXPECT_TRUE(loaded.liquidGlass);
  EXPECT_FALSE(loaded.liveAnswers);
  EXPECT_TRUE(file.writes.empty());
}

TEST(UiSettingsLoad, WordsAreMatchedCaseInsensitivelyAndAnythingElseMeansTheOtherChoice) {
  struct Case {
    const wchar_t* glassStyle;
    bool light;
  };
  for (Case c : {Case{L"Frosted", false}, Case{L"DARK", false}, Case{L"Classic", true}, Case{L"light", true},
                 Case{L"", true}}) {
    FakeIniFile file;
    file.Set(L"Panel", L"GlassStyle", c.glassStyle);
    EXPECT_EQ(Load(file).lightTheme, c.light) << ::testing::PrintToString(std::wstring(c.glassStyle));
  }
  FakeIniFile file;
  file.Set(L"panel", L"quality", L"deep");
  file.Set(L"Stealth", L"Side", L"RIGHT");
  file.Set(L"Panel", L"LiquidGlass", L"0");
  file.Set(L"Panel", L"MathMode", L"2");
  file.Set(L"Panel", L"LiveAnswers", L"1");
  UiSettings loaded = Load(file);
  EXPECT_EQ(loaded.quality, QueryQuality::Deep);
  EXPECT_TRUE(loaded.stripRight);
  EXPECT_FALSE(loaded.liquidGlass);
  EXPECT_TRUE(loaded.visionOnScan);
  EXPECT_TRUE(loaded.liveAnswers);
  file.Set(L"Panel", L"Quality", L"Deeper");
  file.Set(L"Stealth", L"Side", L"Up");
  loaded = Load(file);
  EXPECT_EQ(loaded.quality, QueryQuality::Fast);
  EXPECT_FALSE(loaded.stripRight);
}

TEST(UiSettingsLoad, HandsFreeFallsBackToTheClassicSectionAndOnlyKnownIntervalsCount) {
  struct Case {
    const wchar_t* stealth;  // null: key missing
    const wchar_t* classic;
    int seconds;
  };
  for (Case c : {Case{nullptr, L"10", 10}, Case{L"7", nullptr, 0}, Case{L"5", L"10", 5}, Case{L"0", L"30", 0},
                 Case{L"abc", L"10", 0}, Case{nullptr, L"11", 0}, Case{nullptr, nullptr, 0}, Case{L"30", nullptr, 30}}) {
    FakeIniFile file;
    if (c.stealth) file.Set(L"Stealth", L"HandsFreeSec", c.stealth);
    if (c.classic) file.Set(L"Classic", L"HandsFreeSec", c.classic);
    EXPECT_EQ(Load(file).handsFreeSeconds, c.seconds)
        << (c.stealth ? "stealth set" : "stealth missing") << ", " << (c.classic ? "classic set" : "classic missing");
  }
}

TEST(UiSettingsLoad, StripWidthOutsideTwoFourSixBecomesSix) {
  for (auto [text, width] : {std::pair{L"8", 6}, {L"3", 6}, {L"wide", 6}, {L"-2", 6}, {L"2", 2}, {L"4", 4}}) {
    FakeIniFile file;
    file.Set(L"Stealth", L"StripWidth", text);
    EXPECT_EQ(Load(file).stripWidth, width) << ::testing::PrintToString(std::wstring(text));
  }
}

TEST(UiSettingsLoad, HotkeysKeepTheirDefaultUnlessTheTextIsABinding) {
  FakeIniFile file;
  file.Set(L"Hotkeys", L"Scan", L"ctrl + f5");
  file.Set(L"Hotkeys", L"Snip", L"None");  // a primary is never unbound
  file.Set(L"Hotkeys", L"Quit", L"Hyper+Q");
  file.Set(L"Hotkeys", L"ScanAlt", L"none");
  file.Set(L"Hotkeys", L"SnipAlt", L"Mouse 4");
  file.Set(L"Hotkeys", L"ToggleVisibleAlt", L"");
  file.Set(L"Hotkeys", L"ToggleModeAlt", L"Ctrl+");
  UiSettings loaded = Load(file);
  HotkeyTable expected = DefaultHotkeyTable();
  expected[HotkeySlot::Scan] = {kModCtrl, 0x74};
  expected[HotkeySlot::ScanAlt] = {};
  expected[HotkeySlot::SnipAlt] = {0, kKeySideButton1};
  EXPECT_EQ(loaded.hotkeys, expected);
}

TEST(UiSettingsLoad, AnOverlongHotkeyIsRefusedRatherThanCut) {
  // "Ctrl+...+Ctrl+ F12" cut at 63 characters would read as Ctrl+F1, another binding.
  std::wstring text;
  while (text.size() < 60) text += L"Ctrl+";
  text += L" F12";
  ASSERT_EQ(text.size(), 64u);
  FakeIniFile file;
  file.Set(L"Hotkeys", L"Scan", text);
  file.Set(L"Hotkeys", L"SnipAlt", text);
  UiSettings loaded = Load(file);
  EXPECT_EQ(loaded.hotkeys, DefaultHotkeyTable());
}

TEST(UiSettingsSave, EachSetterWritesItsOneKeyOnlyWhenTheValueChanges) {
  FakeIniFile file;
  UiSettingsStore store(&file);
  UiSettings settings;
  using W = FakeIniFile::Write;
  EXPECT_FALSE(store.SetTheme(settings, false));
  EXPECT_FALSE(store.SetLiquidGlass(settings, true));
  EXPECT_FALSE(store.SetQuality(settings, QueryQuality::Fast));
  EXPECT_FALSE(store.SetVisionOnScan(settings, false));
  EXPECT_FALSE(store.SetLiveAnswers(settings, false));
  EXPECT_FALSE(store.SetHandsFreeSeconds(settings, 0));
  EXPECT_FALSE(store.SetStripWidth(settings, 6));
  EXPECT_FALSE(store.SetStripSide(settings, false));
  EXPECT_TRUE(file.writes.empty());

  EXPECT_TRUE(store.SetTheme(settings, true));
  EXPECT_TRUE(store.SetLiquidGlass(settings, false));
  EXPECT_TRUE(store.SetQuality(settings, QueryQuality::Deep));
  EXPECT_TRUE(store.SetVisionOnScan(settings, true));
  EXPECT_TRUE(store.SetLiveAnswers(settings, true));
  EXPECT_TRUE(store.SetHandsFreeSeconds(settings, 10));
  EXPECT_TRUE(store.SetStripWidth(settings, 2));
  EXPECT_TRUE(store.SetStripSide(settings, true));
  EXPECT_TRUE(store.SetTheme(settings, false));
  std::vector<W> expected = {{L"Panel", L"GlassStyle", L"Light"},  {L"Panel", L"LiquidGlass", L"0"},
                             {L"Panel", L"Quality", L"Deep"},       {L"Panel", L"MathMode", L"1"},
                             {L"Panel", L"LiveAnswers", L"1"},      {L"Stealth", L"HandsFreeSec", L"10"},
                             {L"Stealth", L"StripWidth", L"2"},     {L"Stealth", L"Side", L"Right"},
                             {L"Panel", L"GlassStyle", L"Dark"}};
  EXPECT_EQ(file.writes, expected);
  UiSettings reloaded = Load(file);
  EXPECT_EQ(reloaded, settings);
}

TEST(UiSettingsSave, ValuesOutsideTheAllowedSetsAreRefused) {
  FakeIniFile file;
  UiSettingsStore store(&file);
  UiSettings settings;
  EXPECT_FALSE(store.SetHandsFreeSeconds(settings, 7));
  EXPECT_FALSE(store.SetStripWidth(settings, 8));
  EXPECT_FALSE(store.SetQuality(settings, static_cast<QueryQuality>(5)));
  EXPECT_EQ(settings, UiSettings{});
  EXPECT_TRUE(file.writes.empty());
}

TEST(UiSettingsSave, WithoutAFileOrWhenWritingFailsTheValueStillChanges) {
  UiSettingsStore noFile(nullptr);
  UiSettings settings;
  EXPECT_TRUE(noFile.SetStripWidth(settings, 4));
  EXPECT_EQ(settings.stripWidth, 4);
  noFile.SaveHotkeys(settings.hotkeys);
  FakeIniFile file;
  file.writable = false;
  UiSettingsStore failing(&file);
  EXPECT_TRUE(failing.SetHandsFreeSeconds(settings, 30));
  EXPECT_EQ(settings.handsFreeSeconds, 30);
}

TEST(UiSettingsSave, HotkeysAreWrittenPrimaryThenSecondaryAndReadBackTheSame) {
  FakeIniFile file;
  UiSettingsStore store(&file);
  HotkeyTable table = DefaultHotkeyTable();
  table[HotkeySlot::ScanAlt] = {};
  table[HotkeySlot::QuitAlt] = {kModShift | kModWin, 220};
  store.SaveHotkeys(table);
  using W = FakeIniFile::Write;
  std::vector<W> expected = {
      {L"Hotkeys", L"Scan", L"F9"},          {L"Hotkeys", L"ScanAlt", L"None"},
      {L"Hotkeys", L"Snip", L"F10"},         {L"Hotkeys", L"SnipAlt", L"None"},
      {L"Hotkeys", L"ToggleVisible", L"Right Alt"}, {L"Hotkeys", L"ToggleVisibleAlt", L"Ctrl+Alt+H"},
      {L"Hotkeys", L"ToggleMode", L"Ctrl+Alt+C"},   {L"Hotkeys", L"ToggleModeAlt", L"None"},
      {L"Hotkeys", L"Quit", L"Ctrl+Alt+X"},  {L"Hotkeys", L"QuitAlt", L"Shift+Win+\\"}};
  EXPECT_EQ(file.writes, expected);
  EXPECT_EQ(Load(file).hotkeys, table);
}

TEST(SettingsPath, TheFileSitsNextToTheExecutable) {
  EXPECT_EQ(SettingsPathFor(L"C:\\Program Files\\Tavisk\\vyk.exe"), L"C:\\Program Files\\Tavisk\\vyk.ui.ini");
  EXPECT_EQ(SettingsPathFor(L"C:\\a/b\\c/vyk.exe"), L"C:\\a/b\\c/vyk.ui.ini");
  EXPECT_EQ(SettingsPathFor(L"\\\\server\\share\\vyk.exe"), L"\\\\server\\share\\vyk.ui.ini");
  EXPECT_EQ(SettingsPathFor(L"vyk.exe"), L"");
  EXPECT_EQ(SettingsPathFor(L""), L"");
}

}  // namespace
