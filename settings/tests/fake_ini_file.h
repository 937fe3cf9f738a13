#pragma once
// An in-memory INI file with the platform's reading rules, recording every write.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/ui_settings_store.h"
#include "core/wide_text.h"

class FakeIniFile final : public IniFile {
 public:
  struct Write {
    std::wstring section, key, value;
    friend bool operator==(const Write&, const Write&) = default;
  };

  void Set(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    values_[Name(section, key)] = value;
  }

  std::wstring ReadString(const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
                          size_t limit) override {
    auto found = values_.find(Name(section, key));
    std::wstring value = found == values_.end() ? fallback : found->second;
    return value.substr(0, limit);
  }

  int ReadInt(const wchar_t* section, const wchar_t* key, int fallback) override {
    auto found = values_.find(Name(section, key));
    if (found == values_.end()) return fallback;
    std::wstring_view text = TrimBlanks(found->second);
    bool negative = !text.empty() && text.front() == L'-';
    if (negative) text.remove_prefix(1);
    int value = 0;
    for (wchar_t c : text) {
      if (c < L'0' || c > L'9') break;
      value = value * 10 + (c - L'0');
    }
    return negative ? -value : value;
  }

  bool WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value) override {
    writes.push_back({section, key, value});
    Set(section, key, value);
    return writable;
  }

  std::vector<Write> writes;
  bool writable = true;

 private:
  static std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c;
    return text;
  }
  static std::pair<std::wstring, std::wstring> Name(const std::wstring& section, const std::wstring& key) {
    return {Lower(section), Lower(key)};
  }
  std::map<std::pair<std::wstring, std::wstring>, std::wstring> values_;
};
