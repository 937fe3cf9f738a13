// Reads arbitrary text as a stored binding. Whatever parses must be a valid binding whose text
// form reads back to itself, with and without keyboard-layout names.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names.h"

namespace {

// Layout names with the awkward shapes real layouts have: duplicates, fixed names, separators.
std::wstring AwkwardLayoutName(uint32_t key) {
  switch (key % 7) {
    case 0: return L"Alt";
    case 1: return L"Num " + std::to_wstring(key % 10);
    case 2: return L"KP_" + std::to_wstring(key);
    case 3: return key % 2 ? L"+" : L" x";
    case 4: return L"Pause";
    default: return {};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  SetLayoutKeyNames(data[0] & 1 ? &AwkwardLayoutName : nullptr);
  std::wstring text;
  for (size_t i = 1; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
  std::optional<Hotkey> hotkey = ParseHotkey(text);
  if (!hotkey) return 0;
  if (hotkey->key < 1 || hotkey->key > 255 || (hotkey->modifiers & ~kModAll) != 0) std::abort();
  if (ParseHotkey(HotkeyToText(*hotkey)) != hotkey) std::abort();
  return 0;
}
