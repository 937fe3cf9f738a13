#pragma once
// One hotkey binding and the table of the ten bindings that drive the program.
#include <array>
#include <cstdint>

// Modifier bits, the same values as the platform's hotkey modifier flags.
inline constexpr uint32_t kModAlt = 1;
inline constexpr uint32_t kModCtrl = 2;
inline constexpr uint32_t kModShift = 4;
inline constexpr uint32_t kModWin = 8;
inline constexpr uint32_t kModAll = kModAlt | kModCtrl | kModShift | kModWin;

// Mouse buttons travel as key codes.
inline constexpr uint32_t kKeyRightButton = 2;
inline constexpr uint32_t kKeyMiddleButton = 4;
inline constexpr uint32_t kKeySideButton1 = 5;
inline constexpr uint32_t kKeySideButton2 = 6;

struct Hotkey {
  uint32_t modifiers = 0;  // kMod* bits; left and right keys are not told apart
  uint32_t key = 0;        // virtual-key code 1..254; 0 = unbound

  bool bound() const { return key != 0; }
  // As one 64-bit value: modifiers in the low half, key in the high half.
  uint64_t packed() const { return (uint64_t{key} << 32) | modifiers; }
  static Hotkey FromPacked(uint64_t value) {
    return Hotkey{static_cast<uint32_t>(value), static_cast<uint32_t>(value >> 32)};
  }
  friend bool operator==(const Hotkey&, const Hotkey&) = default;
};

// The five actions; their numbers are also the values posted to the panel.
enum class HotkeyAction : int { Scan = 0, Snip = 1, ToggleVisible = 2, ToggleMode = 3, Quit = 4 };
inline constexpr int kHotkeyActionCount = 5;
inline constexpr int kHotkeySlotCount = 10;

// Slot i (0..4) is the primary binding of action i, slot i + 5 its secondary.
// Used as plain indices: HotkeySlot::ScanAlt.
namespace HotkeySlot {
enum : int {
  Scan = 0, Snip, ToggleVisible, ToggleMode, Quit,
  ScanAlt, SnipAlt, ToggleVisibleAlt, ToggleModeAlt, QuitAlt,
};
}

inline bool IsSecondarySlot(int slot) { return slot >= kHotkeyActionCount && slot < kHotkeySlotCount; }
inline bool IsValidSlot(int slot) { return slot >= 0 && slot < kHotkeySlotCount; }

using HotkeyTable = std::array<Hotkey, kHotkeySlotCount>;

// The built-in bindings: F9, F10, Right Alt, Ctrl+Alt+C, Ctrl+Alt+X; Right Click, none,
// Ctrl+Alt+H, none, none.
HotkeyTable DefaultHotkeyTable();

// The slot's key in the settings file ("Scan" ... "QuitAlt"); null for an invalid slot.
const wchar_t* HotkeySlotName(int slot);
