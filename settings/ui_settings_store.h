#pragma once
// Reading the UI settings with their validation, and writing each one back when it changes.
// Works over a small INI interface: the private-profile functions on Windows, a fake in tests.
#include <cstddef>
#include <string>
#include <string_view>

#include "settings/ui_settings.h"

class IniFile {
 public:
  virtual ~IniFile() = default;
  // The key's value cut to at most `limit` characters, or `fallback` when the key is missing.
  virtual std::wstring ReadString(const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
                                  size_t limit) = 0;
  // The value read as a decimal integer (0 when it does not start with a number), or `fallback`
  // when the key is missing.
  virtual int ReadInt(const wchar_t* section, const wchar_t* key, int fallback) = 0;
  // Writes one key, creating the file and section as needed; false when that failed.
  virtual bool WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value) = 0;
};

// "<directory of the executable>\vyk.ui.ini", or empty when the path has no separator.
std::wstring SettingsPathFor(std::wstring_view executablePath);

// Reads every key into `settings`, keeping the default of any missing or invalid value.
void LoadUiSettings(IniFile& file, UiSettings& settings);

// Writes settings as they change. Without a file (empty settings path) nothing is written, but
// the values in memory still change for the run. Write failures are ignored the same way.
class UiSettingsStore {
 public:
  explicit UiSettingsStore(IniFile* file) : file_(file) {}

  // One write of one key.
  void SaveSetting(const wchar_t* section, const wchar_t* key, const std::wstring& value);
  // Writes all ten bindings, each primary followed by its secondary.
  void SaveHotkeys(const HotkeyTable& table);

  // Each stores the value and writes its one key when the value differs from the current one,
  // and says whether it did. Values outside the allowed set are refused.
  bool SetTheme(UiSettings& settings, bool light);
  bool SetLiquidGlass(UiSettings& settings, bool on);
  bool SetQuality(UiSettings& settings, QueryQuality quality);
  bool SetVisionOnScan(UiSettings& settings, bool on);
  bool SetLiveAnswers(UiSettings& settings, bool on);
  bool SetHandsFreeSeconds(UiSettings& settings, int seconds);
  bool SetStripWidth(UiSettings& settings, int pixels);
  bool SetStripSide(UiSettings& settings, bool right);

 private:
  template <typename T>
  bool Update(T& field, T value, const wchar_t* section, const wchar_t* key, const std::wstring& text);

  IniFile* file_;
};
