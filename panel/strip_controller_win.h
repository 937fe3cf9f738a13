#pragma once
// The stealth strip's behaviour: where it sits, when it shows, the working mark while a query runs
// and the answer pulse, which runs on the panel window's timer 2.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "panel/strip_window_win.h"

class StripController {
 public:
  // The panel window, which carries the pulse timer.
  void SetTimerWindow(HWND window) { timerWindow_ = window; }
  // The strip window made at start-up.
  void Attach(std::unique_ptr<StripWindow> window) { window_ = std::move(window); }
  // Destroys the strip window (the panel is going away).
  void Destroy();

  bool exists() const { return window_ != nullptr; }
  bool shown() const { return window_ && window_->shown(); }
  bool pulseRunning() const { return pulseStart_ != 0; }
  // When the last answer pulse ended (tick milliseconds), 0 when none has.
  uint64_t lastPulseEnd() const { return lastPulseEnd_; }

  // Moves the strip to its place on the panel's monitor, shown (stealth mode, panel visible) or not.
  void Place(bool show);
  // Places it shown.
  void Show() { Place(true); }
  // Ends any pulse, pushes a transparent strip and hides it.
  void Hide();
  // Renders the strip, with the answer pulse or plain.
  void Redraw(bool withPulse);
  // A query started in stealth mode: the working mark.
  void ShowWorking();
  // Lights the section of the answer's option for six seconds.
  void StartPulse();
  void StopPulse();
  // Timer 2: one step of the pulse.
  void OnPulseTick(uint64_t now, bool stealth, bool visible);

 private:
  std::unique_ptr<StripWindow> window_;
  HWND timerWindow_ = nullptr;
  PixelRect rect_{0, 0, 1, 1};  // screen pixels; the created size until the strip is drawn
  uint64_t pulseStart_ = 0;     // 0: no pulse
  uint64_t lastPulseEnd_ = 0;
};
