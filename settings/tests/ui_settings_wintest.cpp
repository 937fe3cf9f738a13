#include "settings/ui_settings_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "settings/tests/temp_settings_file_win.h"
#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names.h"
#include "hotkeys/key_names_win.h"

namespace {

// A settings file of the test's own in a fresh temporary folder, removed afterwards.
class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(path_.empty()); }

  void WriteFile(const std::string& text) { file_.Write(text); }
  std::string FileText() const { return file_.Text(); }
  std::vector<std::string> FileLines() const { return file_.Lines(); }
  UiSettings Load() {
    UiSettings settings;
    LoadUiSettingsFromFile(path_, settings);
    return settings;
  }

  TempSettingsFile file_;
  std::wstring path_ = file_.path();
};

TEST_F(SettingsFile, AWrittenFileIsLoadedWithItsValidation) {
  WriteFile(
      "[Panel]\r\nGlassStyle=Frosted\r\nLiquidGlass=0\r\nQuality=deep\r\nMathMode=1\r\n"
      "[Stealth]\r\nHandsFreeSec=7\r\nStripWidth=8\r\nSide=right\r\n"
      "[Hotkeys]\r\nScan=ctrl + alt + s\r\nSnip=None\r\nQuit=Hyper+Q\r\nScanAlt=none\r\nSnipAlt=Mouse 5\r\n"
      "ToggleVisibleAlt=\r\n");
  UiSettings settings = Load();
  EXPECT_FALSE(settings.lightTheme);
  EXPECT_FALSE(settings.liquidGlass);
  EXPECT_EQ(settings.quality, QueryQuality::Deep);
  EXPECT_TRUE(settings.visionOnScan);
  EXPECT_EQ(settings.handsFreeSeconds, 0);
  EXPECT_EQ(settings.stripWidth, 6);
  EXPECT_TRUE(settings.stripRight);
  HotkeyTable expected = DefaultHotkeyTable();
  expected[HotkeySlot::Scan] = {kModCtrl | kModAlt, 'S'};
  expected[HotkeySlot::ScanAlt] = {};
  expected[HotkeySlot::SnipAlt] = {0, kKeySideButton2};
  EXPECT_EQ(settings.hotkeys, expected);
}

TEST_F(SettingsFile, AFileWithTheClassicSectionOnly) {
  WriteFile("[Classic]\r\nHandsFreeSec=10\r\n");
  UiSettings expected;
  expected.handsFreeSeconds = 10;
  UiSettings settings = Load();
  EXPECT_EQ(settings.handsFreeSeconds, 10);
  EXPECT_EQ(settings.stripWidth, expected.stripWidth);
  EXPECT_EQ(settings.hotkeys, expected.hotkeys);
  WriteFile("[Stealth]\r\nHandsFreeSec=abc\r\n[Classic]\r\nHandsFreeSec=10\r\n");
  EXPECT_EQ(Load().handsFreeSeconds, 0);  // present but not a number: off, no fallback
}

TEST_F(SettingsFile, AnEmptyPathIsNeitherReadNorWritten) {
  UiSettings settings;
  settings.stripWidth = 2;
  LoadUiSettingsFromFile(L"", settings);
  EXPECT_EQ(settings.stripWidth, 2);
  ProfileIniFile file(L"");
  EXPECT_EQ(file.ReadString(L"Panel", L"GlassStyle", L"Dark", 15), L"Dark");
  EXPECT_FALSE(file.WriteString(L"Panel", L"GlassStyle", L"Light"));
  EXPECT_EQ(GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SettingsFile, AnOverlongHotkeyKeepsTheDefault) {
  std::string text;
  while (text.size() < 60) text += "Ctrl+";
  WriteFile("[Hotkeys]\r\nScan=" + text + " F12\r\n");
  EXPECT_EQ(Load().hotkeys, DefaultHotkeyTable());
  WriteFile("[Hotkeys]\r\nScan=" + text + "F12\r\n");  // 63 characters: still read whole
  EXPECT_EQ(Load().hotkeys[HotkeySlot::Scan], (Hotkey{kModCtrl, 123}));
}

TEST_F(SettingsFile, EachSetterWritesExactlyItsOneKey) {
  const std::string full =
      "[Panel]\r\nGlassStyle=Dark\r\nLiquidGlass=1\r\nQuality=Fast\r\nMathMode=0\r\n"
      "[Stealth]\r\nHandsFreeSec=0\r\nStripWidth=6\r\nSide=Left\r\n"
      "[Hotkeys]\r\nScan=F9\r\n";
  struct Change {
    const char* line;
    bool (*apply)(UiSettingsStore&, UiSettings&);
  };
  const Change changes[] = {
      {"GlassStyle=Light", [](UiSettingsStore& s, UiSettings& u) { return s.SetTheme(u, true); }},
      {"LiquidGlass=0", [](UiSettingsStore& s, UiSettings& u) { return s.SetLiquidGlass(u, false); }},
      {"Quality=Deep", [](UiSettingsStore& s, UiSettings& u) { return s.SetQuality(u, QueryQuality::Deep); }},
      {"MathMode=1", [](UiSettingsStore& s, UiSettings& u) { return s.SetVisionOnScan(u, true); }},
      {"HandsFreeSec=30", [](UiSettingsStore& s, UiSettings& u) { return s.SetHandsFreeSeconds(u, 30); }},
      {"StripWidth=4", [](UiSettingsStore& s, UiSettings& u) { return s.SetStripWidth(u, 4); }},
      {"Side=Right", [](UiSettingsStore& s, UiSettings& u) { return s.SetStripSide(u, true); }},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.line);
    WriteFile(full);
    UiSettings settings = Load();
    ProfileIniFile file(path_);
    UiSettingsStore store(&file);
    std::vector<std::string> before = FileLines();
    ASSERT_TRUE(change.apply(store, settings));
    std::vector<std::string> after = FileLines();
    ASSERT_EQ(after.size(), before.size());
    int changed = 0;
    for (size_t i = 0; i < before.size(); ++i) {
      if (before[i] != after[i]) {
        ++changed;
        EXPECT_EQ(after[i], change.line);
      }
    }
    EXPECT_EQ(changed, 1);
    std::string text = FileText();
    EXPECT_FALSE(change.apply(store, settings));  // the same value again writes nothing
    EXPECT_EQ(FileText(), text);
  }
}

TEST_F(SettingsFile, HotkeysAndSettingsAreCreatedOnFirstWriteAndReadBack) {
  ProfileIniFile file(path_);
  UiSettingsStore store(&file);
  UiSettings settings;
  store.SetStripWidth(settings, 2);
  settings.hotkeys[HotkeySlot::SnipAlt] = {kModShift, 'S'};
  settings.hotkeys[HotkeySlot::ScanAlt] = {};
  store.SaveHotkeys(settings.hotkeys);
  std::vector<std::string> lines = FileLines();
  std::vector<std::string> expected = {"[Stealth]", "StripWidth=2", "[Hotkeys]", "Scan=F9", "ScanAlt=None",
                                       "Snip=F10", "SnipAlt=Shift+S", "ToggleVisible=Right Alt",
                                       "ToggleVisibleAlt=Ctrl+Alt+H", "ToggleMode=Ctrl+Alt+C", "ToggleModeAlt=None",
                                       "Quit=Ctrl+Alt+X", "QuitAlt=None"};
  lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
  EXPECT_EQ(lines, expected);
  UiSettings reloaded = Load();
  EXPECT_EQ(reloaded.hotkeys, settings.hotkeys);
  EXPECT_EQ(reloaded.stripWidth, 2);
}

DWORD WINAPI PathWithoutSeparator(HMODULE, LPWSTR buffer, DWORD size) {
  wcsncpy(buffer, L"vyk.exe", size);
  return 7;
}
DWORD WINAPI PathThatFails(HMODULE, LPWSTR, DWORD) { return 0; }
DWORD WINAPI PathThatFillsTheBuffer(HMODULE, LPWSTR buffer, DWORD size) {
  for (DWORD i = 0; i + 1 < size; ++i) buffer[i] = (i % 10 == 0) ? L'\\' : L'a';
  buffer[size - 1] = L'\0';
  return size;
}
DWORD WINAPI PathWithForwardSlash(HMODULE, LPWSTR buffer, DWORD size) {
  wcsncpy(buffer, L"Z:/opt/tavisk/vyk.exe", size);
  return 21;
}

TEST(SettingsPath, ComesFromTheExecutablePathOrIsEmpty) {
  EXPECT_EQ(SettingsPath(&PathWithoutSeparator), L"");
  EXPECT_EQ(SettingsPath(&PathThatFails), L"");
  EXPECT_EQ(SettingsPath(&PathThatFillsTheBuffer), L"");
  EXPECT_EQ(SettingsPath(&PathWithForwardSlash), L"Z:/opt/tavisk/vyk.ui.ini");
  wchar_t exe[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  ASSERT_GT(length, 0u);
  std::wstring real = SettingsPath();
  std::wstring exePath(exe, length);
  EXPECT_EQ(real, exePath.substr(0, exePath.find_last_of(L'\\') + 1) + L"vyk.ui.ini");
}

TEST(LayoutKeyNames, EveryKeyReadsBackUnderTheActiveLayout) {
  UseKeyboardLayoutNames();
  for (uint32_t key = 1; key <= 255; ++key) {
    std::wstring text = HotkeyToText({kModCtrl, key});
    EXPECT_EQ(ParseHotkey(text), (std::optional<Hotkey>{Hotkey{kModCtrl, key}})) << key;
  }
  EXPECT_EQ(KeyName(0x78), L"F9");  // fixed names stay fixed
  SetLayoutKeyNames(nullptr);
}

}  // namespace
