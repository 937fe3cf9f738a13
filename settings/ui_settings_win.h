#pragma once
// The UI settings file next to the executable, through the private-profile functions.
#include <windows.h>

#include <string>

#include "settings/ui_settings_store.h"

// Same shape as GetModuleFileNameW, so tests can stand in for it.
using ModuleFileNameFn = DWORD(WINAPI*)(HMODULE module, LPWSTR buffer, DWORD size);

// "<directory of the executable>\vyk.ui.ini"; empty when the executable's path cannot be had
// (failure, or longer than 32767 characters) or has no separator.
std::wstring SettingsPath(ModuleFileNameFn moduleFileName = &GetModuleFileNameW);

// One INI file read and written with GetPrivateProfileStringW / GetPrivateProfileIntW /
// WritePrivateProfileStringW. With an empty path it reads only fallbacks and writes nothing (the
// platform would otherwise take an empty name for a file in the Windows folder).
class ProfileIniFile final : public IniFile {
 public:
  explicit ProfileIniFile(std::wstring path) : path_(std::move(path)) {}
  std::wstring ReadString(const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
                          size_t limit) override;
  int ReadInt(const wchar_t* section, const wchar_t* key, int fallback) override;
  bool WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value) override;

 private:
  std::wstring path_;
};

// Start-up's loading step: layout key names on, then every setting from `path` into `settings`.
// Does nothing (defaults stay) when the path is empty.
void LoadUiSettingsFromFile(const std::wstring& path, UiSettings& settings);
