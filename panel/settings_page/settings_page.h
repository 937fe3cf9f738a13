#pragma once
// The settings page: its five sections, their rows and segmented controls, and recording a hotkey
// binding. It keeps the page's own state (which section is open, which row the pointer is over, the
// selection pills in motion) and changes the settings and the recording in a SettingsState; what
// the panel must do next comes back as effects.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/ui_settings_store.h"
#include "panel/panel_geometry.h"
#include "panel/panel_layout.h"
#include "panel/settings_page/settings_rows.h"
#include "panel/settings_page/settings_setters.h"

// What the settings page changes: the settings in memory and the hotkey being recorded.
struct SettingsState {
  UiSettings settings;
  int captureSlot = -1;  // the binding being recorded, -1 for none
  std::wstring hotkeyStatus;
  bool hotkeyStatusError = false;
  bool localKeyMode = true;  // local API-key mode (else hosted): some rows apply to one mode only
};

// What a change on the settings page asks of the panel.
struct SettingsEffects {
  bool repaint = false;
  bool relayout = false;
  bool captureChanged = false;   // the recorded slot changed: tell the hooks
  bool bindingsChanged = false;  // the bindings changed: publish them to the hooks
  bool accountOpened = false;    // the account section opened: focus the sign-in field if it shows
  SettingChange changed = SettingChange::None;  // a setter changed its value: apply it
  std::optional<PillMove> pill = std::nullopt;  // a selection pill starts to slide

  SettingsEffects& operator|=(const SettingsEffects& other);
  bool operator==(const SettingsEffects&) const = default;
};

class SettingsPage {
 public:
  static constexpr int kSections = kSettingsSections;  // account, general, style, stealth, hotkeys
  static constexpr int kHotkeysSection = ::kHotkeysSection;
  static constexpr int kHoverRows = ::kHoverRows;  // liquid glass, quality, vision, hands-free, strip width, strip side, live answers
  static constexpr int kAnimationSlots = kSegmentedRows;  // one per segmented control

  // Whether a command ID belongs to the page (section headers, sign-in, setters, hotkey rows).
  static bool Handles(int controlId);

  // A click on one of the page's controls, on a panel `width` logical pixels wide.
  SettingsEffects Command(int controlId, SettingsState& state, UiSettingsStore& store,
                          float width = kPanelLogicalWidth);
  // A recording result from the hooks (MsgHotkeyCaptured): recording ends whatever it says.
  SettingsEffects HotkeyCaptured(SettingsState& state, UiSettingsStore& store, uint32_t wParam, uint32_t lParam);
  // Ends a recording without a result and clears the status line (another page, the snip overlay).
  SettingsEffects CancelRecording(SettingsState& state);

  // The page's controls on a panel `width` logical pixels wide, with the account area showing
  // `account`; all hidden unless `shown`. Segments show only while their section is open, the
  // hotkey buttons only while the Hotkeys section is.
  std::vector<ControlPlacement> Layout(float width, bool shown, AccountArea account = AccountArea::LocalKey) const;

  // The open section, -1 for none (the general section at start).
  int openSection() const { return openSection_; }

  // Row hover: forgets every hovered row; true when one was set.
  bool ClearHover();
  // Row hover for a pointer at (x, y) logical; true when a flag changed.
  bool UpdateHover(float width, float x, float y);
  const std::array<bool, kHoverRows>& hover() const { return hover_; }

  // The selection pill of a segmented control slides from `from` to `to`.
  void StartAnimation(int slot, const RectF& from, const RectF& to, uint64_t now);
  // Ends the animations that are over; true while one still runs.
  bool AnimationTick(uint64_t now);
  const std::array<AnimationSlot, kAnimationSlots>& animations() const { return animations_; }

 private:
  SettingsEffects ToggleRecording(SettingsState& state, int slot);
  SettingsEffects ResetHotkeys(SettingsState& state, UiSettingsStore& store);

  int openSection_ = 1;
  std::array<bool, kHoverRows> hover_{};
  std::array<AnimationSlot, kAnimationSlots> animations_{};
};
