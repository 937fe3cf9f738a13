#pragma once
// What the global input hooks do with each key and mouse-button event: match it against the
// bindings, decide whether to swallow it, and say which message to post to the panel window.
// Platform-free; the hook procedures feed it and carry out its verdict.
#include <bitset>
#include <cstdint>
#include <optional>

#include "hotkeys/hotkey.h"

// Posted to the panel window (WM_APP + 1, 3, 4 and 5).
inline constexpr uint32_t MsgHotkeyAction = 0x8001;    // wParam = action 0..4, lParam = 0
inline constexpr uint32_t MsgHotkeyCaptured = 0x8003;  // wParam = modifiers or kCapturedClear, lParam = key or 0
inline constexpr uint32_t MsgStealthMenu = 0x8004;     // the menu key or Shift+F10 in stealth mode
inline constexpr uint32_t MsgEndSnip = 0x8005;         // Esc or the right button while the snip overlay is open
inline constexpr uint32_t kCapturedClear = 0xFFFF;

// The action a MsgHotkeyAction carries in its wParam; nothing for a value that names none.
std::optional<HotkeyAction> PostedHotkeyAction(uint64_t wParam);

// Which modifier keys are down, side by side (one bit per physical key).
namespace ModifierSide {
enum : uint32_t {
  LeftShift = 1u << 0, RightShift = 1u << 1,
  LeftCtrl = 1u << 2,  RightCtrl = 1u << 3,
  LeftAlt = 1u << 4,   RightAlt = 1u << 5,
  LeftWin = 1u << 6,   RightWin = 1u << 7,
};
}

// The side bit of a sided modifier key (160..165, 91, 92), else 0.
uint32_t ModifierSideOf(uint32_t key);
// The kMod* bits of every modifier held on either side.
uint32_t ModifiersNow(uint32_t sidesDown);
// The same, except that the key being pressed never counts as its own modifier: for right Ctrl
// only left Ctrl is looked at, and so on.
uint32_t ModifiersExcept(uint32_t key, uint32_t sidesDown);

enum class KeyTransition { Down, Up };

struct PostedMessage {
  uint32_t message = 0;
  uint32_t wParam = 0;
  uint32_t lParam = 0;
  friend bool operator==(const PostedMessage&, const PostedMessage&) = default;
};

struct HookVerdict {
  bool swallow = false;
  std::optional<PostedMessage> post;
};

class HookDispatcher {
 public:
  // The live bindings; the panel publishes its table here whenever it loads or saves.
  void SetTable(const HotkeyTable& table) { table_ = table; }
  const HotkeyTable& table() const { return table_; }
  // While paused (snip overlay open) every event passes on, except Esc and the right button: they
  // end the snip (MsgEndSnip), swallowed down and up, even when the overlay could not take the
  // keyboard focus.
  void SetPaused(bool paused) { paused_ = paused; }
  bool paused() const { return paused_; }
  // Mirrors whether the panel is shown; decides the right-button rule.
  void SetPanelVisible(bool visible) { panelVisible_ = visible; }
  bool panelVisible() const { return panelVisible_; }
  // Stealth mode with the strip shown: the menu key and Shift+F10, unless bound to a hotkey, ask for
  // the panel's menu (MsgStealthMenu) and are swallowed; otherwise they pass on.
  void SetStealthMenu(bool on) { stealthMenu_ = on; }
  // -1 for normal dispatch, 0..9 while that slot is being recorded (anything else means -1). Each
  // call starts afresh; only the panel ends a recording, when it has handled its result.
  void SetCaptureSlot(int slot);
  int captureSlot() const { return captureSlot_; }
  // Back to the state before any event: not paused, hidden, not recording, nothing fired.
  void Reset();

  // A key event with its virtual-key code and the modifier sides held (before this event).
  HookVerdict OnKey(KeyTransition transition, uint32_t key, uint32_t sidesDown);
  // A press or release of mouse button 2, 4, 5 or 6.
  HookVerdict OnButton(KeyTransition transition, uint32_t button, uint32_t sidesDown);

 private:
  HookVerdict OnKeyNormal(KeyTransition transition, uint32_t key, uint32_t sidesDown);
  HookVerdict OnKeyRecording(KeyTransition transition, uint32_t key, uint32_t sidesDown);
  HookVerdict Fire(HotkeyAction action);
  HookVerdict Capture(uint32_t modifiers, uint32_t key);
  HookVerdict SwallowHeld(uint32_t code);
  std::optional<HotkeyAction> MatchAction(uint32_t key, uint32_t modifiers, bool isButton) const;
  bool ReleaseOfFired(uint32_t& lastFired, uint32_t key);
  bool ReleaseOfHeld(uint32_t code);
  bool IsStealthMenuKey(uint32_t key, uint32_t modifiers) const;

  HotkeyTable table_ = DefaultHotkeyTable();
  bool paused_ = false;
  bool panelVisible_ = false;
  bool stealthMenu_ = false;
  // Esc or the right button went down to end the snip; its release is swallowed too.
  bool snipEndKeyDown_ = false;
  bool snipEndButtonDown_ = false;
  int captureSlot_ = -1;
  uint32_t lastKeyFired_ = 0;
  uint32_t pendingModifierKey_ = 0;
  uint32_t lastButtonFired_ = 0;
  // This recording has posted its result; the panel has not ended the recording yet.
  bool resultPosted_ = false;
  // Keys and buttons whose press was swallowed while recording and which are still down, so that
  // other programs never see their release without the press. Buttons use their key codes 2, 4, 5
  // and 6, which no keyboard sends.
  std::bitset<256> held_;
};
