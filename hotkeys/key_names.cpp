#include "hotkeys/key_names.h"

#include <atomic>
#include <cwchar>

#include "core/wide_text.h"

namespace {

constexpr uint32_t kEscape = 27;
constexpr uint32_t kLastNamedCode = 254;

std::atomic<LayoutKeyNameFn> g_layoutNames{nullptr};

const wchar_t* TabledName(uint32_t key) {
  switch (key) {
    case 2: return L"Right Click";
    case 4: return L"Middle Click";
    case 5: return L"Mouse 4";
    case 6: return L"Mouse 5";
    case 8: return L"Backspace";
    case 9: return L"Tab";
    case 13: return L"Enter";
    case 19: return L"Pause";
    case 20: return L"Caps Lock";
    case 32: return L"Space";
    case 33: return L"PgUp";
    case 34: return L"PgDn";
    case 35: return L"End";
    case 36: return L"Home";
    case 37: return L"Left";
    case 38: return L"Up";
    case 39: return L"Right";
    case 40: return L"Down";
    case 44: return L"PrtSc";
    case 45: return L"Insert";
    case 46: return L"Delete";
    case 145: return L"Scroll Lock";
    case 160: return L"Left Shift";
    case 161: return L"Right Shift";
    case 162: return L"Left Ctrl";
    case 163: return L"Right Ctrl";
    case 164: return L"Left Alt";
    case 165: return L"Right Alt";
    case 186: return L";";
    case 187: return L"=";
    case 188: return L",";
    case 189: return L"-";
    case 190: return L".";
    case 191: return L"/";
    case 192: return L"`";
    case 219: return L"[";
    case 220: return L"\\";
    case 221: return L"]";
    case 222: return L"'";
    default: return nullptr;
  }
}

// The name from the fixed table, or empty when the key has none there.
std::wstring FixedKeyName(uint32_t key) {
  if (const wchar_t* name = TabledName(key)) return name;
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::wstring(1, wchar_t(key));
  if (key >= 96 && key <= 105) return L"Num " + std::to_wstring(key - 96);
  if (key >= 112 && key <= 135) return L"F" + std::to_wstring(key - 111);
  return {};
}

std::wstring RawLayoutName(uint32_t key) {
  LayoutKeyNameFn source = g_layoutNames.load(std::memory_order_relaxed);
  if (source == nullptr || key == 0 || key > kLastNamedCode) return {};
  return source(key);
}

std::wstring VkForm(uint32_t key) {
  wchar_t text[16];
  std::swprintf(text, 16, L"VK_0x%02X", static_cast<unsigned>(key));
  return text;
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  c = AsciiUpper(c);
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

std::optional<uint32_t> SingleCharacterKey(std::wstring_view token) {
  if (token.size() != 1) return std::nullopt;
  wchar_t c = AsciiUpper(token[0]);
  if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) return static_cast<uint32_t>(c);
  return std::nullopt;
}

// "F1".."F24": at most three characters, the number read from the leading digits after "F".
std::optional<uint32_t> FunctionKey(std::wstring_view token) {
  if (token.empty() || AsciiUpper(token[0]) != L'F' || token.size() > 3) return std::nullopt;
  uint32_t number = 0;
  for (size_t i = 1; i < token.size() && token[i] >= L'0' && token[i] <= L'9'; ++i) {
    number = number * 10 + uint32_t(token[i] - L'0');
  }
  if (number >= 1 && number <= 24) return number + 111;
  return std::nullopt;
}

// "VK_0x" followed only by hexadecimal digits whose value is 1..255.
std::optional<uint32_t> HexKey(std::wstring_view token) {
  constexpr std::wstring_view kPrefix = L"VK_0x";
  if (token.size() <= kPrefix.size() || !EqualsIgnoreAsciiCase(token.substr(0, kPrefix.size()), kPrefix)) {
    return std::nullopt;
  }
  uint32_t value = 0;
  for (wchar_t c : token.substr(kPrefix.size())) {
    int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + uint32_t(digit);
    if (value > 255) return std::nullopt;
  }
  if (value >= 1) return value;
  return std::nullopt;
}

// The first key whose name matches. Fixed names come before layout names, so that a layout
// naming some other key like a tabled one ("Num 5", "/") cannot take a tabled name over.
std::optional<uint32_t> KeyByName(std::wstring_view token) {
  for (uint32_t key = 1; key <= kLastNamedCode; ++key) {
    if (key != kEscape && EqualsIgnoreAsciiCase(FixedKeyName(key), token)) return key;
  }
  for (uint32_t key = 1; key <= kLastNamedCode; ++key) {
    if (key == kEscape || !FixedKeyName(key).empty()) continue;
    std::wstring name = RawLayoutName(key);
    if (!name.empty() && EqualsIgnoreAsciiCase(name, token)) return key;
  }
  return std::nullopt;
}

// A layout name is shown only when it survives the trip through the settings file: no "+"
// (the separator of the text form), no outer blanks, not the word that clears a secondary,
// and naming this key when read back.
bool LayoutNameReadsBack(const std::wstring& name, uint32_t key) {
  if (name.empty() || name.find(L'+') != std::wstring::npos || TrimBlanks(name).size() != name.size()) {
    return false;
  }
  if (EqualsIgnoreAsciiCase(name, L"None")) return false;
  return KeyFromToken(name) == key;
}

}  // namespace

void SetLayoutKeyNames(LayoutKeyNameFn source) { g_layoutNames.store(source, std::memory_order_relaxed); }

std::wstring KeyName(uint32_t key) {
  std::wstring name = FixedKeyName(key);
  if (!name.empty()) return name;
  name = RawLayoutName(key);
  if (LayoutNameReadsBack(name, key)) return name;
  return VkForm(key);
}

std::optional<uint32_t> KeyFromToken(std::wstring_view token) {
  if (token.empty()) return std::nullopt;
  if (auto key = SingleCharacterKey(token)) return key;
  if (auto key = FunctionKey(token)) return key;
  if (auto key = HexKey(token)) return key;
  return KeyByName(token);
}
