#include "settings/ui_settings_win.h"

#include <algorithm>
#include <vector>

#include "hotkeys/key_names_win.h"

namespace {
constexpr DWORD kModulePathCapacity = 32768;
}

std::wstring SettingsPath(ModuleFileNameFn moduleFileName) {
  std::vector<wchar_t> buffer(kModulePathCapacity, L'\0');
  DWORD length = moduleFileName(nullptr, buffer.data(), kModulePathCapacity);
  if (length == 0 || length >= kModulePathCapacity) return {};
  return SettingsPathFor(std::wstring_view(buffer.data(), length));
}

std::wstring ProfileIniFile::ReadString(const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
                                        size_t limit) {
  if (path_.empty()) return fallback;
  std::vector<wchar_t> buffer(limit + 1, L'\0');
  DWORD length = GetPrivateProfileStringW(section, key, fallback, buffer.data(), static_cast<DWORD>(buffer.size()),
                                          path_.c_str());
  return std::wstring(buffer.data(), std::min<size_t>(length, limit));
}

int ProfileIniFile::ReadInt(const wchar_t* section, const wchar_t* key, int fallback) {
  if (path_.empty()) return fallback;
  return static_cast<int>(GetPrivateProfileIntW(section, key, fallback, path_.c_str()));
}

bool ProfileIniFile::WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
  if (path_.empty()) return false;
  return WritePrivateProfileStringW(section, key, value, path_.c_str()) != FALSE;
}

void LoadUiSettingsFromFile(const std::wstring& path, UiSettings& settings) {
  UseKeyboardLayoutNames();
  if (path.empty()) return;
  ProfileIniFile file(path);
  LoadUiSettings(file, settings);
}
