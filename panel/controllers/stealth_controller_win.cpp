#include "panel/controllers/stealth_controller_win.h"

#include "panel/panel_rules.h"
#include "screen/capture.h"

StealthController::StealthController(TimerPort& timers, StealthPorts ports)
    : ports_(std::move(ports)), handsFreeTimer_(timers, panel_timer::HandsFree), strip_(timers) {
  strip_.SetSituation([this] { return StripNow(); });
}

int StealthController::GlowOption(const StealthSituation& situation) const {
  if (!situation.reply || !ReplyReadyToPulse(situation.hasReply, situation.strip.queryRunning, *situation.reply)) {
    return -1;
  }
  return situation.reply->option;
}

StripSituation StealthController::StripNow() const {
  const StealthSituation now = ports_.situation();
  StripSituation situation = now.strip;
  situation.glowOption = GlowOption(now);
  return situation;
}

HandsFreePorts StealthController::MakeHandsFreePorts() {
  HandsFreePorts ports;
  ports.situation = [this] {
    const StealthSituation now = ports_.situation();
    HandsFreeSituation situation;
    situation.stealth = now.strip.stealth;
    situation.visible = now.strip.visible;
    situation.intervalSeconds = now.handsFreeSeconds;
    situation.busy = now.strip.queryRunning || now.otherWork || strip_.pulseRunning();
    situation.replyOnDisplay = now.hasReply && !now.strip.queryRunning;
    situation.replyOption = GlowOption(now);
    return situation;
  };
  ports.now = [this] { return ports_.now(); };
  ports.takeThumbnail = [](ScreenThumbnail& thumbnail) { return CapturePrimaryThumbnail(thumbnail); };
  ports.runTimer = [this](const HandsFreeTimer& timer) {
    if (timer.running) {
      handsFreeTimer_.Start(timer.periodMs);
    } else {
      handsFreeTimer_.Stop();
    }
  };
  ports.startScan = [this] { ports_.startScan(); };
  ports.reshowOption = [this] {
    if (strip_.shown()) strip_.StartPulse();
  };
  ports.startCheck = [this] { return ports_.startCheck(); };
  return ports;
}

void StealthController::Destroy() {
  handsFreeTimer_.Stop();
  strip_.Destroy();  // stops the pulse
  shadow_.reset();
}

void StealthController::UpdateShadow(bool panelShown, float uiScale) {
  const StealthSituation now = ports_.situation();
  if (shadow_) shadow_->Update(now.strip.panel, panelShown, uiScale);
}

void StealthController::Enter() {
  const StealthSituation now = ports_.situation();
  if (now.strip.visible) {
    if (GlowOption(now) >= 0) {
      strip_.StartPulse();
    } else {
      strip_.DrawStrip();
    }
  }
  strip_.Place(now.strip.visible);
}

void StealthController::ReshowStrip() {
  const StealthSituation now = ports_.situation();
  if (!now.strip.stealth) return;
  strip_.Place(now.strip.visible);
  strip_.DrawStrip();
}

void StealthController::QueryShown() {
  strip_.StopPulse();
  const StealthSituation now = ports_.situation();
  if (now.strip.stealth && strip_.shown()) strip_.ShowWorking();
}

void StealthController::ReplyArrived(const TutorReply& reply) {
  const StealthSituation now = ports_.situation();
  if (now.strip.stealth && strip_.shown()) {
    if (ReplyReadyToPulse(true, false, reply)) {
      strip_.StartPulse();
    } else {
      strip_.StopPulse();
      strip_.DrawStrip();
    }
  }
  handsFree_.QueryFinished(reply.status);
}

void StealthController::PulseTick() {
  const StealthSituation now = ports_.situation();
  const uint64_t endedBefore = strip_.lastPulseEnd();
  strip_.OnPulseTick(ports_.now(), now.strip.stealth, now.strip.visible);
  if (strip_.lastPulseEnd() != endedBefore) handsFree_.StripDisplayEnded(strip_.lastPulseEnd());
}
