#pragma once
// Display names of keys and the reverse lookup used when a binding's text is read back.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The keyboard layout's name of a key, or empty when the layout has none.
using LayoutKeyNameFn = std::wstring (*)(uint32_t key);

// Sets the process-wide source of layout names; null means none, and keys without a fixed
// name are then called "VK_0x..". Windows start-up installs the platform's source.
void SetLayoutKeyNames(LayoutKeyNameFn source);

// The display name of a key: a fixed name ("F9", "Right Alt", "Right Click"), else the layout's
// name, else "VK_0x%02X". A layout name is used only when reading it back gives the same key,
// so that every name this returns parses to its own key.
std::wstring KeyName(uint32_t key);

// The key named by an already trimmed token ("c", "F12", "VK_0x1B", "right alt"); nothing when
// the token names no key.
std::optional<uint32_t> KeyFromToken(std::wstring_view token);
