#pragma once
// The panel window's timers behind the controllers' timer port: SetTimer and KillTimer on the
// window, with no callback (WM_TIMER reaches the window procedure). Nothing before the window
// exists or after it is gone.
#include <windows.h>

#include "panel/controllers/timer_port.h"

class WindowTimers final : public TimerPort {
 public:
  void SetWindow(HWND window) { window_ = window; }
  void StartTimer(unsigned id, unsigned periodMs) override {
    if (window_) SetTimer(window_, id, periodMs, nullptr);
  }
  void StopTimer(unsigned id) override {
    if (window_) KillTimer(window_, id);
  }

 private:
  HWND window_ = nullptr;
};
