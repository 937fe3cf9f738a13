#include "settings/ui_settings_store.h"

#include "hotkeys/hotkey_text.h"
#include "core/wide_text.h"

namespace {

constexpr const wchar_t* kPanel = L"Panel";
constexpr const wchar_t* kStealth = L"Stealth";
constexpr const wchar_t* kClassic = L"Classic";
constexpr const wchar_t* kHotkeys = L"Hotkeys";
constexpr const wchar_t* kNone = L"None";

constexpr size_t kWordLimit = 15;
constexpr size_t kHotkeyLimit = 63;

// A stored binding longer than the limit is refused rather than cut, since a cut text could
// read as some other binding.
std::optional<Hotkey> ReadHotkey(IniFile& file, const wchar_t* key, bool* isNone) {
  std::wstring text = file.ReadString(kHotkeys, key, L"", kHotkeyLimit + 1);
  if (text.size() > kHotkeyLimit) return std::nullopt;
  if (isNone) *isNone = EqualsIgnoreAsciiCase(text, kNone);
  return ParseHotkey(text);
}

void LoadHotkeys(IniFile& file, HotkeyTable& table) {
  for (int action = 0; action < kHotkeyActionCount; ++action) {
    if (auto primary = ReadHotkey(file, HotkeySlotName(action), nullptr)) table[action] = *primary;
    int secondarySlot = action + kHotkeyActionCount;
    bool isNone = false;
    auto secondary = ReadHotkey(file, HotkeySlotName(secondarySlot), &isNone);
    if (isNone) {
      table[secondarySlot] = Hotkey{};
    } else if (secondary) {
      table[secondarySlot] = *secondary;
    }
  }
}

int ReadHandsFreeSeconds(IniFile& file) {
  int seconds = file.ReadInt(kStealth, L"HandsFreeSec", -1);
  if (seconds < 0) seconds = file.ReadInt(kClassic, L"HandsFreeSec", 0);
  return IsHandsFreeInterval(seconds) ? seconds : 0;
}

bool ReadsAs(IniFile& file, const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
             std::initializer_list<const wchar_t*> words) {
  std::wstring value = file.ReadString(section, key, fallback, kWordLimit);
  for (const wchar_t* word : words) {
    if (EqualsIgnoreAsciiCase(value, word)) return true;
  }
  return false;
}

const wchar_t* OneOrZero(bool on) { return on ? L"1" : L"0"; }

}  // namespace

std::wstring SettingsPathFor(std::wstring_view executablePath) {
  size_t separator = executablePath.find_last_of(L"\\/");
  if (separator == std::wstring_view::npos) return {};
  return std::wstring(executablePath.substr(0, separator + 1)) + L"vyk.ui.ini";
}

void LoadUiSettings(IniFile& file, UiSettings& settings) {
  settings.lightTheme = !ReadsAs(file, kPanel, L"GlassStyle", L"Dark", {L"Dark", L"Frosted"});
  settings.liquidGlass = file.ReadInt(kPanel, L"LiquidGlass", 1) != 0;
  settings.quality = ReadsAs(file, kPanel, L"Quality", L"Fast", {L"Deep"}) ? QueryQuality::Deep : QueryQuality::Fast;
  settings.visionOnScan = file.ReadInt(kPanel, L"MathMode", 0) != 0;
  settings.liveAnswers = file.ReadInt(kPanel, L"LiveAnswers", 0) != 0;
  settings.handsFreeSeconds = ReadHandsFreeSeconds(file);
  int width = file.ReadInt(kStealth, L"StripWidth", 6);
  settings.stripWidth = IsStripWidth(width) ? width : 6;
  settings.stripRight = ReadsAs(file, kStealth, L"Side", L"Left", {L"Right"});
  LoadHotkeys(file, settings.hotkeys);
}

void UiSettingsStore::SaveSetting(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
  if (file_ != nullptr) file_->WriteString(section, key, value.c_str());
}

void UiSettingsStore::SaveHotkeys(const HotkeyTable& table) {
  for (int action = 0; action < kHotkeyActionCount; ++action) {
    SaveSetting(kHotkeys, HotkeySlotName(action), HotkeyToText(table[action]));
    const Hotkey& secondary = table[action + kHotkeyActionCount];
    SaveSetting(kHotkeys, HotkeySlotName(action + kHotkeyActionCount),
                secondary.bound() ? HotkeyToText(secondary) : kNone);
  }
}

template <typename T>
bool UiSettingsStore::Update(T& field, T value, const wchar_t* section, const wchar_t* key,
                             const std::wstring& text) {
  if (field == value) return false;
  field = value;
  SaveSetting(section, key, text);
  return true;
}

bool UiSettingsStore::SetTheme(UiSettings& settings, bool light) {
  return Update(settings.lightTheme, light, kPanel, L"GlassStyle", light ? L"Light" : L"Dark");
}

bool UiSettingsStore::SetLiquidGlass(UiSettings& settings, bool on) {
  return Update(settings.liquidGlass, on, kPanel, L"LiquidGlass", OneOrZero(on));
}

bool UiSettingsStore::SetQuality(UiSettings& settings, QueryQuality quality) {
  if (quality != QueryQuality::Fast && quality != QueryQuality::Deep) return false;
  return Update(settings.quality, quality, kPanel, L"Quality", quality == QueryQuality::Deep ? L"Deep" : L"Fast");
}

bool UiSettingsStore::SetVisionOnScan(UiSettings& settings, bool on) {
  return Update(settings.visionOnScan, on, kPanel, L"MathMode", OneOrZero(on));
}

bool UiSettingsStore::SetLiveAnswers(UiSettings& settings, bool on) {
  return Update(settings.liveAnswers, on, kPanel, L"LiveAnswers", OneOrZero(on));
}

bool UiSettingsStore::SetHandsFreeSeconds(UiSettings& settings, int seconds) {
  if (!IsHandsFreeInterval(seconds)) return false;
  return Update(settings.handsFreeSeconds, seconds, kStealth, L"HandsFreeSec", std::to_wstring(seconds));
}

bool UiSettingsStore::SetStripWidth(UiSettings& settings, int pixels) {
  if (!IsStripWidth(pixels)) return false;
  return Update(settings.stripWidth, pixels, kStealth, L"StripWidth", std::to_wstring(pixels));
}

bool UiSettingsStore::SetStripSide(UiSettings& settings, bool right) {
  return Update(settings.stripRight, right, kStealth, L"Side", right ? L"Right" : L"Left");
}
