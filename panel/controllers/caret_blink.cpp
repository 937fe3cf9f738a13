#include "panel/controllers/caret_blink.h"

#include "panel/panel_rules.h"

CaretBlink::CaretBlink(TimerPort& timers) : timer_(timers, panel_timer::CaretBlink) {}

void CaretBlink::Update(bool wanted) {
  if (wanted) {
    timer_.Start(panel_timer::CaretBlinkMs);
  } else {
    timer_.Stop();
  }
}

void CaretBlink::Tick(bool wanted) {
  Update(wanted);
  visible_ = !visible_;
}
