// What the stealth strip reads of the panel when it places and draws itself.
#include "panel/tutor_panel_win.h"

StripSituation TutorPanel::StripNow() const {
  StripSituation situation;
  situation.panel = main_;
  situation.stripWidth = state_.settings.stripWidth;
  situation.right = state_.settings.stripRight;
  situation.dpiScale = state_.dpiScale;
  situation.stealth = state_.stealth;
  situation.visible = state_.visible;
  situation.queryRunning = state_.queryRunning();
  if (ReplyReadyToPulse(state_.hasReply, state_.queryRunning(), state_.lastReply)) {
    situation.glowOption = state_.lastReply.option;
  }
  return situation;
}
