#pragma once
// The settings in memory and the settings page's timeline: the setters and what they ask of the
// panel, recording a hotkey binding, the hovered row, and the selection pills sliding on timer 6.
// Each setter writes its one key to the settings file as it changes.
#include <cstdint>
#include <functional>

#include "hotkeys/hotkey.h"
#include "panel/controllers/timer_port.h"
#include "panel/settings_page/settings_page.h"
#include "settings/ui_settings_store.h"

// What a change asks of the panel.
struct SettingsEvents {
  std::function<void(int slot)> recordingChanged;           // the hooks hear of the recorded slot
  std::function<void(const HotkeyTable&)> bindingsChanged;  // published, and the tooltips follow
  std::function<void(SettingChange)> settingChanged;        // a setter changed its value
  std::function<void()> relayout;
  std::function<void()> accountOpened;                      // focus the sign-in field if it shows
  std::function<void()> repaint;
};

class SettingsController {
 public:
  // `file` is the settings file (null: nothing is written).
  SettingsController(TimerPort& timers, IniFile* file, TickClock now, SettingsEvents events);

  // The settings read at start-up.
  void Load(const UiSettings& settings) { state_.settings = settings; }
  // Local API-key mode or hosted mode (rows that apply to one mode only are locked in the other).
  void SetLocalKeyMode(bool local) { state_.localKeyMode = local; }

  // A click on one of the settings page's controls, on a panel `width` logical pixels wide.
  void Command(int controlId, float width);
  // A recording result from the hooks.
  void HotkeyCaptured(uint32_t wParam, uint32_t lParam);
  // Ends a recording without a result (another page, the snip overlay).
  void CancelRecording();
  // The hands-free interval (0 for off), saved.
  void SetHandsFree(int seconds);
  // The panel is going away: no recording, no animation.
  void Shutdown();

  // The pill of segmented control `slot` slides from `from` to `to` (timer 6 runs meanwhile).
  void StartAnimation(int slot, const RectF& from, const RectF& to);
  // Timer 6.
  void AnimationTick();

  // Row hover; true when that changed what shows.
  bool UpdateHover(float width, float x, float y) { return page_.UpdateHover(width, x, y); }
  bool ClearHover() { return page_.ClearHover(); }

  const UiSettings& settings() const { return state_.settings; }
  const SettingsState& state() const { return state_; }
  const SettingsPage& page() const { return page_; }
  uint64_t now() const { return now_(); }

 private:
  void Apply(const SettingsEffects& effects);

  OwnedTimer animation_;
  UiSettingsStore store_;
  TickClock now_;
  SettingsEvents events_;
  SettingsState state_;
  SettingsPage page_;
};
