#include "hotkeys/hook_dispatch.h"

namespace {

constexpr uint32_t kKeyBackspace = 8;
constexpr uint32_t kKeyEscape = 27;
constexpr uint32_t kKeyDelete = 46;
constexpr uint32_t kKeyRightShift = 161;
constexpr uint32_t kKeyRightCtrl = 163;
constexpr uint32_t kKeyRightAlt = 165;
constexpr uint32_t kKeyApplications = 0x5D;
constexpr uint32_t kKeyF10 = 0x79;

constexpr HookVerdict kPass{};
constexpr HookVerdict kSwallow{true, std::nullopt};
constexpr HookVerdict kEndSnip{true, PostedMessage{MsgEndSnip, 0, 0}};

bool IsModifierKey(uint32_t key) {
  return key == 16 || key == 17 || key == 18 || key == 91 || key == 92 || (key >= 160 && key <= 165);
}

bool IsRightHandModifier(uint32_t key) {
  return key == kKeyRightShift || key == kKeyRightCtrl || key == kKeyRightAlt;
}

}  // namespace

uint32_t ModifierSideOf(uint32_t key) {
  using namespace ModifierSide;
  switch (key) {
    case 160: return LeftShift;
    case 161: return RightShift;
    case 162: return LeftCtrl;
    case 163: return RightCtrl;
    case 164: return LeftAlt;
    case 165: return RightAlt;
    case 91: return LeftWin;
    case 92: return RightWin;
    default: return 0;
  }
}

uint32_t ModifiersNow(uint32_t sidesDown) {
  using namespace ModifierSide;
  uint32_t modifiers = 0;
  if (sidesDown & (LeftCtrl | RightCtrl)) modifiers |= kModCtrl;
  if (sidesDown & (LeftAlt | RightAlt)) modifiers |= kModAlt;
  if (sidesDown & (LeftShift | RightShift)) modifiers |= kModShift;
  if (sidesDown & (LeftWin | RightWin)) modifiers |= kModWin;
  return modifiers;
}

uint32_t ModifiersExcept(uint32_t key, uint32_t sidesDown) {
  return ModifiersNow(sidesDown & ~ModifierSideOf(key));
}

std::optional<HotkeyAction> PostedHotkeyAction(uint64_t wParam) {
  if (wParam >= static_cast<uint64_t>(kHotkeyActionCount)) return std::nullopt;
  return static_cast<HotkeyAction>(wParam);
}

void HookDispatcher::SetCaptureSlot(int slot) {
  captureSlot_ = IsValidSlot(slot) ? slot : -1;
  resultPosted_ = false;  // a new recording, or none
}

void HookDispatcher::Reset() {
  paused_ = false;
  panelVisible_ = false;
  stealthMenu_ = false;
  snipEndKeyDown_ = false;
  snipEndButtonDown_ = false;
  captureSlot_ = -1;
  lastKeyFired_ = 0;
  pendingModifierKey_ = 0;
  lastButtonFired_ = 0;
  resultPosted_ = false;
  held_.reset();
}

HookVerdict HookDispatcher::OnKey(KeyTransition transition, uint32_t key, uint32_t sidesDown) {
  if (transition == KeyTransition::Up && key == kKeyEscape && snipEndKeyDown_) {
    snipEndKeyDown_ = false;
    return kSwallow;
  }
  if (paused_ && transition == KeyTransition::Down && key == kKeyEscape) {
    snipEndKeyDown_ = true;
    return kEndSnip;
  }
  if (paused_) {
    // Everything passes, but a fired key released meanwhile is forgotten; otherwise its next
    // press would be taken for auto-repeat and swallowed without firing.
    if (transition == KeyTransition::Up) {
      if (key == lastKeyFired_) lastKeyFired_ = 0;
      ReleaseOfHeld(key);
    }
    return kPass;
  }
  if (captureSlot_ >= 0) return OnKeyRecording(transition, key, sidesDown);
  return OnKeyNormal(transition, key, sidesDown);
}

HookVerdict HookDispatcher::OnKeyNormal(KeyTransition transition, uint32_t key, uint32_t sidesDown) {
  pendingModifierKey_ = 0;
  if (transition == KeyTransition::Up) {
    bool held = ReleaseOfHeld(key);
    return (ReleaseOfFired(lastKeyFired_, key) || held) ? kSwallow : kPass;
  }
  // Auto-repeat of a held hotkey, or of a key whose press a recording swallowed.
  if ((lastKeyFired_ != 0 && key == lastKeyFired_) || (key < held_.size() && held_.test(key))) return kSwallow;
  lastKeyFired_ = 0;
  const uint32_t modifiers = ModifiersExcept(key, sidesDown);
  std::optional<HotkeyAction> action = MatchAction(key, modifiers, false);
  if (!action) {
    if (!IsStealthMenuKey(key, modifiers)) return kPass;
    lastKeyFired_ = key;
    return HookVerdict{true, PostedMessage{MsgStealthMenu, 0, 0}};
  }
  lastKeyFired_ = key;
  return Fire(*action);
}

bool HookDispatcher::IsStealthMenuKey(uint32_t key, uint32_t modifiers) const {
  if (!stealthMenu_ || !panelVisible_) return false;
  return (key == kKeyApplications && modifiers == 0) || (key == kKeyF10 && modifiers == kModShift);
}

HookVerdict HookDispatcher::OnKeyRecording(KeyTransition transition, uint32_t key, uint32_t sidesDown) {
  if (transition == KeyTransition::Up) {
    if (pendingModifierKey_ != 0 && key == pendingModifierKey_) {
      pendingModifierKey_ = 0;
      ReleaseOfHeld(key);
      // A right-hand modifier pressed and released alone is a binding of its own.
      if (!resultPosted_ && ModifiersExcept(key, sidesDown) == 0) return Capture(0, key);
      return kSwallow;
    }
    bool held = ReleaseOfHeld(key);
    return (ReleaseOfFired(lastKeyFired_, key) || held) ? kSwallow : kPass;
  }
  uint32_t modifiers = ModifiersExcept(key, sidesDown);
  if (resultPosted_) {
    // The result is on its way to the panel: later presses report nothing and reach no one, except
    // the modifiers that pass while a recording waits for its key.
    bool heldAlready = key < held_.size() && held_.test(key);
    bool passingModifier = IsModifierKey(key) && !(IsRightHandModifier(key) && modifiers == 0);
    return (passingModifier && !heldAlready) ? kPass : SwallowHeld(key);
  }
  if (key == kKeyEscape) {
    lastKeyFired_ = key;
    SwallowHeld(key);
    return Capture(0, 0);
  }
  // A right-hand modifier held (and swallowed) while waiting counts as a modifier of the next key,
  // whether or not the platform's key state saw its swallowed press.
  if (pendingModifierKey_ != 0 && key != pendingModifierKey_) {
    modifiers |= ModifiersNow(ModifierSideOf(pendingModifierKey_));
  }
  if (IsSecondarySlot(captureSlot_) && modifiers == 0 && (key == kKeyDelete || key == kKeyBackspace)) {
    lastKeyFired_ = key;
    SwallowHeld(key);
    return Capture(kCapturedClear, 0);
  }
  if (IsRightHandModifier(key) && modifiers == 0) {
    pendingModifierKey_ = key;
    return SwallowHeld(key);
  }
  if (IsModifierKey(key)) {
    pendingModifierKey_ = 0;
    return kPass;  // still waiting for the real key
  }
  lastKeyFired_ = key;
  SwallowHeld(key);
  return Capture(modifiers, key);
}

HookVerdict HookDispatcher::OnButton(KeyTransition transition, uint32_t button, uint32_t sidesDown) {
  if (button == kKeyRightButton) {
    if (transition == KeyTransition::Up && snipEndButtonDown_) {
      snipEndButtonDown_ = false;
      return kSwallow;
    }
    if (transition == KeyTransition::Down && paused_) {
      snipEndButtonDown_ = true;
      return kEndSnip;
    }
  }
  if (transition == KeyTransition::Up) {
    bool held = ReleaseOfHeld(button);
    bool fired = ReleaseOfFired(lastButtonFired_, button);
    return ((fired || held) && !paused_) ? kSwallow : kPass;
  }
  if (paused_) return kPass;
  if (captureSlot_ >= 0) {
    if (resultPosted_) return SwallowHeld(button);
    lastButtonFired_ = button;
    SwallowHeld(button);
    return Capture(ModifiersNow(sidesDown), button);
  }
  std::optional<HotkeyAction> action = MatchAction(button, ModifiersNow(sidesDown), true);
  if (!action) return kPass;
  lastButtonFired_ = button;
  return Fire(*action);
}

HookVerdict HookDispatcher::Fire(HotkeyAction action) {
  return HookVerdict{true, PostedMessage{MsgHotkeyAction, static_cast<uint32_t>(action), 0}};
}

// One result per recording: the panel ends the recording when it handles the result, and until
// then the hooks keep swallowing what would otherwise fire a hotkey or reach another program.
HookVerdict HookDispatcher::Capture(uint32_t modifiers, uint32_t key) {
  pendingModifierKey_ = 0;
  resultPosted_ = true;
  return HookVerdict{true, PostedMessage{MsgHotkeyCaptured, modifiers, key}};
}

HookVerdict HookDispatcher::SwallowHeld(uint32_t code) {
  if (code < held_.size()) held_.set(code);
  return kSwallow;
}

std::optional<HotkeyAction> HookDispatcher::MatchAction(uint32_t key, uint32_t modifiers, bool isButton) const {
  for (int index = 0; index < kHotkeyActionCount; ++index) {
    auto action = static_cast<HotkeyAction>(index);
    // While the panel is hidden the right button only shows it again, so that right clicks work
    // normally in other programs.
    if (isButton && key == kKeyRightButton && !panelVisible_ && action != HotkeyAction::ToggleVisible) {
      continue;
    }
    for (int slot : {index, index + kHotkeyActionCount}) {
      const Hotkey& hotkey = table_[slot];
      if (hotkey.bound() && hotkey.key == key && hotkey.modifiers == modifiers) return action;
    }
  }
  return std::nullopt;
}

bool HookDispatcher::ReleaseOfFired(uint32_t& lastFired, uint32_t key) {
  if (lastFired == 0 || key != lastFired) return false;
  lastFired = 0;
  return true;
}

bool HookDispatcher::ReleaseOfHeld(uint32_t code) {
  if (code >= held_.size() || !held_.test(code)) return false;
  held_.reset(code);
  return true;
}
