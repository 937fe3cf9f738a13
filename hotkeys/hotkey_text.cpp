#include "hotkeys/hotkey_text.h"

#include "hotkeys/key_names.h"
#include "core/wide_text.h"

namespace {

struct ModifierWord {
  uint32_t bit;
  const wchar_t* word;
};
// The order in which the text form names them.
constexpr ModifierWord kModifierWords[] = {
    {kModCtrl, L"Ctrl"}, {kModAlt, L"Alt"}, {kModShift, L"Shift"}, {kModWin, L"Win"}};

std::optional<uint32_t> ModifierBit(std::wstring_view token) {
  for (const ModifierWord& modifier : kModifierWords) {
    if (EqualsIgnoreAsciiCase(token, modifier.word)) return modifier.bit;
  }
  return std::nullopt;
}

}  // namespace

std::wstring HotkeyToText(Hotkey hotkey) {
  if (!hotkey.bound()) return {};
  std::wstring text;
  for (const ModifierWord& modifier : kModifierWords) {
    if (hotkey.modifiers & modifier.bit) {
      text += modifier.word;
      text += L'+';
    }
  }
  return text + KeyName(hotkey.key);
}

std::optional<Hotkey> ParseHotkey(std::wstring_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  Hotkey hotkey;
  for (size_t plus = text.find(L'+'); plus != std::wstring_view::npos; plus = text.find(L'+')) {
    std::optional<uint32_t> bit = ModifierBit(TrimBlanks(text.substr(0, plus)));
    if (!bit) return std::nullopt;
    hotkey.modifiers |= *bit;
    text.remove_prefix(plus + 1);
  }
  std::optional<uint32_t> key = KeyFromToken(TrimBlanks(text));
  if (!key) return std::nullopt;
  hotkey.key = *key;
  return hotkey;
}
