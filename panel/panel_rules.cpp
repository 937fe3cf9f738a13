#include "panel/panel_rules.h"

#include <algorithm>

#include "panel/panel_texts.h"

PagePlan PlanPageSwitch(PanelPage current, PanelPage target, bool stealth) {
  PagePlan plan;
  plan.leaveStealth = stealth && target != PanelPage::Answer;
  plan.saveQuestion = current == PanelPage::Question;
  plan.restoreQuestion = target == PanelPage::Question;
  plan.askButtonText = target == PanelPage::Question ? panel_text::CloseQuestion : panel_text::AskQuestion;
  if (target == PanelPage::Question) {
    plan.focus = FocusTarget::QuestionBox;
  } else if (target == PanelPage::Settings && current != PanelPage::Settings) {
    plan.focus = FocusTarget::GeneralSection;
  } else if (current == PanelPage::Settings && target != PanelPage::Settings) {
    plan.focus = FocusTarget::SettingsButton;
  } else {
    plan.focus = FocusTarget::AskButton;
  }
  return plan;
}

int ToggleCaptureSlot(int capturing, int slot) { return capturing == slot ? -1 : slot; }

int ToggleSection(int open, int index) { return open == index ? -1 : index; }

PulseStep NextPulseStep(uint64_t now, uint64_t pulseStart, bool stealth, bool visible) {
  if (!stealth || !visible) return {PulseStep::Stopped, 0};
  uint64_t elapsed = now > pulseStart ? now - pulseStart : 0;
  if (elapsed >= kPulseDurationMs) return {PulseStep::Finished, 0};
  unsigned period = 25;
  if (elapsed >= 180 && elapsed < 5480) {
    period = static_cast<unsigned>(std::max<uint64_t>(25, 5480 - elapsed));
  }
  return {PulseStep::Continue, period};
}

float AnimationProgress(const AnimationSlot& slot, uint64_t now) {
  uint64_t elapsed = now > slot.startTime ? now - slot.startTime : 0;
  float p = std::clamp(static_cast<float>(elapsed) / static_cast<float>(kAnimationMs), 0.0f, 1.0f);
  float rest = 1.0f - p;
  return 1.0f - rest * rest * rest * rest;
}

void CurrentPill(const AnimationSlot& slot, uint64_t now, float& x, float& width) {
  float e = AnimationProgress(slot, now);
  x = slot.startX + (slot.targetX - slot.startX) * e;
  width = slot.startWidth + (slot.targetWidth - slot.startWidth) * e;
}

void StartSlot(AnimationSlot& slot, float fromX, float fromWidth, float toX, float toWidth,
               uint64_t now) {
  if (slot.active) {
    CurrentPill(slot, now, fromX, fromWidth);  // continue from where the pill is now
  }
  slot.startX = fromX;
  slot.startWidth = fromWidth;
  slot.targetX = toX;
  slot.targetWidth = toWidth;
  slot.startTime = now;
  slot.active = true;
}

bool KeepSlotRunning(AnimationSlot& slot, uint64_t now) {
  if (slot.active && now >= slot.startTime && now - slot.startTime >= kAnimationMs) {
    slot.active = false;
  }
  return slot.active;
}

float ScrollAfterWheel(float scroll, float scrollMax, int wheelDelta) {
  float step = static_cast<float>(wheelDelta) * 0.38f;
  return std::clamp(scroll - step, 0.0f, std::max(scrollMax, 0.0f));
}

std::wstring StatusWord(bool running, QueryKind kind, bool hasReply, TutorReply::Status status,
                        bool visionOnScan) {
  if (running) {
    switch (kind) {
      case QueryKind::Scan: return panel_text::Scanning;
      case QueryKind::VisionScan: return panel_text::ScanningVision;
      case QueryKind::Snip: return panel_text::ReadingSnip;
      default: return panel_text::Thinking;
    }
  }
  if (hasReply) {
    switch (status) {
      case TutorReply::Answer: return panel_text::AnswerReady;
      case TutorReply::NoQuestion: return panel_text::NoQuestionFound;
      default: return panel_text::RequestFailed;
    }
  }
  return visionOnScan ? panel_text::ReadyVision : panel_text::Ready;
}

std::wstring BusyHeading(bool running, QueryKind kind) {
  if (!running) return panel_text::ReadyToScan;
  switch (kind) {
    case QueryKind::Scan: return panel_text::ReadingYourScreen;
    case QueryKind::VisionScan: return panel_text::ReadingScreenMath;
    case QueryKind::Snip: return panel_text::ReadingSnippedImage;
    default: return panel_text::WorkingOnQuestion;
  }
}

bool ReplyReadyToPulse(bool hasReply, bool running, const TutorReply& reply) {
  return hasReply && !running && reply.status == TutorReply::Answer && reply.option >= 0 &&
         reply.option <= 3;
}

bool SendButtonEnabled(PanelPage page, bool running, bool boxHasText) {
  return page == PanelPage::Question && !running && boxHasText;
}

std::wstring TrimQuestion(const std::wstring& text) {
  const wchar_t* blanks = L" \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::wstring::npos) return {};
  size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

QueryKind EffectiveKind(QueryKind requested, bool visionOnScan) {
  return requested == QueryKind::Scan && visionOnScan ? QueryKind::VisionScan : requested;
}

bool AccountJobAppliesAccount(AccountJobKind kind, bool ok) {
  switch (kind) {
    case AccountJobKind::SignOut: return true;
    case AccountJobKind::Probe:
    case AccountJobKind::Verify: return ok;
    case AccountJobKind::SendCode: break;
  }
  return false;
}
