#pragma once
// A settings file of a test's own: "vyk.ui.ini" in a fresh temporary folder, removed with the
// object. Nothing is created until the test writes it (or has the program write it).
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "settings/ui_settings_store.h"

class TempSettingsFile {
 public:
  TempSettingsFile() {
    wchar_t temp[MAX_PATH];
    if (GetTempPathW(MAX_PATH, temp) == 0) return;
    folder_ = std::filesystem::path(temp) / (L"vyk-settings-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                             std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++count_));
    std::error_code error;
    if (std::filesystem::create_directories(folder_, error)) path_ = SettingsPathFor((folder_ / L"vyk.exe").wstring());
  }
  ~TempSettingsFile() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  TempSettingsFile(const TempSettingsFile&) = delete;
  TempSettingsFile& operator=(const TempSettingsFile&) = delete;

  // Empty when the folder could not be made.
  const std::wstring& path() const { return path_; }

  void Write(const std::string& text) const {
    std::ofstream out(std::filesystem::path(path_), std::ios::binary);
    out << text;
  }
  std::string Text() const {
    std::ifstream in(std::filesystem::path(path_), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The lines without their line ends.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(Text());
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

 private:
  static inline int count_ = 0;
  std::filesystem::path folder_;
  std::wstring path_;
};
