#pragma once
// The drawn caret's blink (timer 4): under glass the panel draws the text of a focused edit
// itself, and with it a caret that blinks while it is wanted.
#include "panel/controllers/timer_port.h"

class CaretBlink {
 public:
  explicit CaretBlink(TimerPort& timers);

  // Runs the blink while `wanted` (glass on and a drawn edit focused), else stops it.
  void Update(bool wanted);
  // Timer 4: the caret flips; the blink stops once it is no longer wanted.
  void Tick(bool wanted);
  // The caret lights again (the text changed, the looks changed).
  void Show() { visible_ = true; }
  bool visible() const { return visible_; }
  void Stop() { timer_.Stop(); }

 private:
  OwnedTimer timer_;
  bool visible_ = false;
};
