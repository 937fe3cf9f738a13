#include "panel/strip_controller_win.h"

#include "panel/panel_rules.h"

void StripController::Destroy() {
  StopPulse();
  window_.reset();
}

void StripController::Place(bool show) {
  if (window_) window_->Place(rect_, show);
}

void StripController::Hide() {
  StopPulse();
  Redraw(false);
  if (window_) window_->Hide();
}

void StripController::Redraw(bool) {
  // The strip's drawing (working pill and section glow) is pushed here once it exists.
}

void StripController::ShowWorking() { Redraw(false); }

void StripController::StartPulse() {
  pulseStart_ = GetTickCount64();
  if (pulseStart_ == 0) pulseStart_ = 1;  // 0 means no pulse
  if (timerWindow_) SetTimer(timerWindow_, panel_timer::StripPulse, panel_timer::StripPulseMs, nullptr);
  Redraw(true);
}

void StripController::StopPulse() {
  if (timerWindow_) KillTimer(timerWindow_, panel_timer::StripPulse);
  pulseStart_ = 0;
}

void StripController::OnPulseTick(uint64_t now, bool stealth, bool visible) {
  PulseStep step = NextPulseStep(now, pulseStart_, stealth, visible);
  switch (step.kind) {
    case PulseStep::Continue:
      Redraw(true);
      if (timerWindow_) SetTimer(timerWindow_, panel_timer::StripPulse, step.rearmMs, nullptr);
      return;
    case PulseStep::Finished:
      StopPulse();
      lastPulseEnd_ = now;
      Redraw(false);
      return;
    case PulseStep::Stopped:
      StopPulse();
      Redraw(false);
      return;
  }
}
