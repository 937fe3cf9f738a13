#include "panel/settings_page/settings_page.h"

#include "hotkeys/hotkey_editor.h"
#include "panel/window/panel_controls.h"

SettingsEffects& SettingsEffects::operator|=(const SettingsEffects& other) {
  repaint = repaint || other.repaint;
  relayout = relayout || other.relayout;
  captureChanged = captureChanged || other.captureChanged;
  bindingsChanged = bindingsChanged || other.bindingsChanged;
  accountOpened = accountOpened || other.accountOpened;
  if (other.changed != SettingChange::None) changed = other.changed;
  if (other.pill) pill = other.pill;
  return *this;
}

bool SettingsPage::Handles(int controlId) {
  namespace cid = control_id;
  return (controlId >= cid::FirstSection && controlId < cid::FirstSection + kSections) ||
         controlId == cid::SendCode || controlId == cid::SignInBack ||
         RowOfSegment(controlId) >= 0 ||
         (controlId >= cid::FirstHotkey && controlId <= cid::LastHotkey) || controlId == cid::ResetHotkeys;
}

SettingsEffects SettingsPage::Command(int controlId, SettingsState& state, UiSettingsStore& store, float width) {
  namespace cid = control_id;
  if (controlId >= cid::FirstSection && controlId < cid::FirstSection + kSections) {
    bool hotkeysWereOpen = openSection_ == kHotkeysSection;
    openSection_ = ToggleSection(openSection_, controlId - cid::FirstSection);
    SettingsEffects effects{.repaint = true, .relayout = true};
    if (hotkeysWereOpen && openSection_ != kHotkeysSection) {
      state.captureSlot = -1;  // the row being recorded is out of sight
      effects.captureChanged = true;
    }
    effects.accountOpened = openSection_ == kAccountSection;
    return effects;
  }
  if (const int row = RowOfSegment(controlId); row >= 0) {
    if (RowLocked(row, state.localKeyMode)) return {};
    SegmentChoice choice = ChooseSegment(controlId, state.settings, store, width, openSection_);
    if (choice.change == SettingChange::None) return {};
    return {.repaint = true, .changed = choice.change, .pill = choice.pill};
  }
  if (controlId >= cid::FirstHotkey && controlId <= cid::LastHotkey) {
    return ToggleRecording(state, controlId - cid::FirstHotkey);
  }
  if (controlId == cid::ResetHotkeys) return ResetHotkeys(state, store);
  return {};  // the sign-in steps are the panel's own
}

SettingsEffects SettingsPage::ToggleRecording(SettingsState& state, int slot) {
  state.captureSlot = ToggleCaptureSlot(state.captureSlot, slot);
  state.hotkeyStatus.clear();
  state.hotkeyStatusError = false;
  return {.repaint = true, .captureChanged = true};
}

SettingsEffects SettingsPage::ResetHotkeys(SettingsState& state, UiSettingsStore& store) {
  state.captureSlot = -1;
  state.settings.hotkeys = DefaultHotkeyTable();
  store.SaveHotkeys(state.settings.hotkeys);
  state.hotkeyStatus = kDefaultsRestoredStatus.text;
  state.hotkeyStatusError = kDefaultsRestoredStatus.error;
  return {.repaint = true, .captureChanged = true, .bindingsChanged = true};
}

SettingsEffects SettingsPage::HotkeyCaptured(SettingsState& state, UiSettingsStore& store, uint32_t wParam,
                                             uint32_t lParam) {
  int slot = state.captureSlot;
  state.captureSlot = -1;
  SettingsEffects effects{.repaint = true, .captureChanged = true};
  CaptureOutcome outcome = CaptureOutcome::Cancelled;
  if (IsValidSlot(slot)) {
    outcome = ApplyCapturedHotkey(state.settings.hotkeys, slot, wParam, lParam);
    if (outcome == CaptureOutcome::Saved || outcome == CaptureOutcome::Cleared) {
      store.SaveHotkeys(state.settings.hotkeys);
      effects.bindingsChanged = true;
    }
  }
  HotkeyStatus status = StatusAfterCapture(outcome);
  state.hotkeyStatus = status.text;
  state.hotkeyStatusError = status.error;
  return effects;
}

SettingsEffects SettingsPage::CancelRecording(SettingsState& state) {
  state.captureSlot = -1;
  state.hotkeyStatus.clear();
  state.hotkeyStatusError = false;
  return {.repaint = true, .captureChanged = true};
}

std::vector<ControlPlacement> SettingsPage::Layout(float width, bool shown, AccountArea account) const {
  namespace cid = control_id;
  std::vector<ControlPlacement> placements;
  for (int i = 0; i < kSections; ++i) {
    placements.push_back({cid::FirstSection + i, SectionHeaderRect(width, i, openSection_), shown});
  }
  for (int slot = 0; slot < kSegmentedRows; ++slot) {
    const SegmentedRow& row = SegmentedRowTable()[static_cast<size_t>(slot)];
    const bool open = shown && row.section == openSection_;
    for (int i = 0; i < row.count; ++i) {
      placements.push_back({row.firstId + i, SegmentRect(width, slot, openSection_, i), open});
    }
  }
  const bool hotkeysOpen = shown && openSection_ == kHotkeysSection;
  const float hotkeysY = SectionRect(width, kHotkeysSection, openSection_).y;
  for (int slot = 0; slot < kHotkeySlotCount; ++slot) {
    placements.push_back({cid::FirstHotkey + slot, KeycapRect(width, hotkeysY, slot), hotkeysOpen});
  }
  placements.push_back({cid::ResetHotkeys, ResetHotkeysRect(width, hotkeysY), hotkeysOpen});
  for (const ControlPlacement& placement :
       AccountControlPlacements(width, account, shown && openSection_ == kAccountSection)) {
    placements.push_back(placement);
  }
  return placements;
}

bool SettingsPage::ClearHover() {
  bool any = false;
  for (bool& row : hover_) {
    any = any || row;
    row = false;
  }
  return any;
}

bool SettingsPage::UpdateHover(float width, float x, float y) {
  const std::array<bool, kHoverRows> hover = HoveredRows(width, openSection_, x, y);
  if (hover == hover_) return false;
  hover_ = hover;
  return true;
}

void SettingsPage::StartAnimation(int slot, const RectF& from, const RectF& to, uint64_t now) {
  if (slot < 0 || slot >= kAnimationSlots) return;
  StartSlot(animations_[static_cast<size_t>(slot)], from.x, from.width, to.x, to.width, now);
}

bool SettingsPage::AnimationTick(uint64_t now) {
  bool running = false;
  for (AnimationSlot& slot : animations_) running = KeepSlotRunning(slot, now) || running;
  return running;
}
