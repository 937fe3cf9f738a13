// The panel's side of hands-free scanning: the controller's ports (the UI timer, the primary-screen
// thumbnail, the scan and the question check) and what the panel tells it.
#include "panel/tutor_panel_win.h"
#include "screen/capture.h"

HandsFreePorts TutorPanel::MakeHandsFreePorts() {
  HandsFreePorts ports;
  ports.situation = [this] {
    HandsFreeSituation situation;
    situation.stealth = state_.stealth;
    situation.visible = state_.visible;
    situation.intervalSeconds = state_.settings.handsFreeSeconds;
    situation.busy = state_.queryRunning() || snip_ != nullptr || state_.captureSlot >= 0 || strip_.pulseRunning();
    situation.replyOnDisplay = state_.hasReply && !state_.queryRunning();
    if (ReplyReadyToPulse(state_.hasReply, state_.queryRunning(), state_.lastReply)) {
      situation.replyOption = state_.lastReply.option;
    }
    return situation;
  };
  ports.now = [] { return static_cast<uint64_t>(GetTickCount64()); };
  ports.takeThumbnail = [](ScreenThumbnail& thumbnail) { return CapturePrimaryThumbnail(thumbnail); };
  ports.runTimer = [this](const HandsFreeTimer& timer) {
    if (!main_) return;
    if (timer.running) {
      SetTimer(main_, panel_timer::HandsFree, timer.periodMs, nullptr);
    } else {
      KillTimer(main_, panel_timer::HandsFree);
    }
  };
  ports.startScan = [this] { StartQuery(QueryKind::Scan, {}); };
  ports.reshowOption = [this] {
    if (strip_.shown()) strip_.StartPulse();
  };
  ports.startCheck = [this] { return StartQuestionCheck(services_.solve); };
  return ports;
}

void TutorPanel::ResetHandsFree(bool reset) { handsFree_.ResetHandsFree(reset); }

void TutorPanel::OnHandsFreeTick() { handsFree_.HandsFreeTick(); }

void TutorPanel::OnStripPulseTick() {
  const uint64_t endedBefore = strip_.lastPulseEnd();
  strip_.OnPulseTick(GetTickCount64(), state_.stealth, state_.visible);
  if (strip_.lastPulseEnd() != endedBefore) handsFree_.StripDisplayEnded(strip_.lastPulseEnd());
}
