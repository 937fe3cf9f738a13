#include "panel/controllers/settings_controller.h"

#include "panel/panel_rules.h"

SettingsController::SettingsController(TimerPort& timers, IniFile* file, TickClock now, SettingsEvents events)
    : animation_(timers, panel_timer::Animation), store_(file), now_(std::move(now)), events_(std::move(events)) {}

void SettingsController::Command(int controlId, float width) {
  Apply(page_.Command(controlId, state_, store_, width));
}

void SettingsController::HotkeyCaptured(uint32_t wParam, uint32_t lParam) {
  Apply(page_.HotkeyCaptured(state_, store_, wParam, lParam));
}

void SettingsController::CancelRecording() { Apply(page_.CancelRecording(state_)); }

void SettingsController::SetHandsFree(int seconds) {
  store_.SetHandsFreeSeconds(state_.settings, seconds);
  if (events_.settingChanged) events_.settingChanged(SettingChange::HandsFree);
  if (events_.repaint) events_.repaint();
}

void SettingsController::Shutdown() {
  animation_.Stop();
  state_.captureSlot = -1;
  if (events_.recordingChanged) events_.recordingChanged(-1);
}

void SettingsController::StartAnimation(int slot, const RectF& from, const RectF& to) {
  page_.StartAnimation(slot, from, to, now_());
  animation_.Start(panel_timer::AnimationMs);
}

void SettingsController::AnimationTick() {
  if (!page_.AnimationTick(now_())) animation_.Stop();
  if (events_.repaint) events_.repaint();
}

void SettingsController::Apply(const SettingsEffects& effects) {
  if (effects.captureChanged && events_.recordingChanged) events_.recordingChanged(state_.captureSlot);
  if (effects.bindingsChanged && events_.bindingsChanged) events_.bindingsChanged(state_.settings.hotkeys);
  if (effects.pill) {
    const PillMove& move = *effects.pill;
    StartAnimation(move.slot, {move.fromX, 0, move.fromWidth, 0}, {move.toX, 0, move.toWidth, 0});
  }
  if (effects.changed != SettingChange::None && events_.settingChanged) events_.settingChanged(effects.changed);
  if (effects.relayout && events_.relayout) events_.relayout();
  if (effects.accountOpened && events_.accountOpened) events_.accountOpened();
  if (effects.repaint && events_.repaint) events_.repaint();
}
