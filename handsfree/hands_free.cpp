#include "handsfree/hands_free.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "core/log.h"

float ScreenDifference(const ScreenThumbnail& a, const ScreenThumbnail& b) {
  int changed = 0;
  const std::uint8_t* pa = a.luma.data();
  const std::uint8_t* pb = b.luma.data();
  for (int i = 0; i < kComparedThumbnailBytes; ++i) {
    changed += std::abs(int(pa[i]) - int(pb[i])) > kLumaTolerance ? 1 : 0;
  }
  return static_cast<float>(changed / double(kComparedThumbnailBytes));
}

std::shared_ptr<ProbeJob> StartQuestionCheck(SolveFn solve, const ThreadStarter& startThread) {
  std::shared_ptr<ProbeJob> job;
  try {
    job = std::make_shared<ProbeJob>();
  } catch (const std::bad_alloc&) {
    LogCaughtException("question check not started");  // no memory for the job
    return nullptr;
  }
  std::function<TutorReply::Status()> work = [solve = std::move(solve)] {
    return solve(QueryKind::QuestionCheck, QueryQuality::Fast, std::wstring()).status;
  };
  if (!StartWorker<TutorReply::Status>(job, std::move(work), TutorReply::Error, startThread)) return nullptr;
  return job;
}

HandsFreeMenuEntry DescribeHandsFreeMenuEntry(bool paused, int intervalSeconds) {
  if (paused && intervalSeconds > 0) return {L"Resume Hands-Free Auto-Scan", false, true};
  return {L"Hands-Free Auto-Scan", intervalSeconds > 0, false};
}

HandsFreeMenuEntry HandsFreeController::MenuEntry() const {
  return DescribeHandsFreeMenuEntry(paused_, ports_.situation().intervalSeconds);
}

HandsFreeTimer HandsFreeController::TimerFor(const HandsFreeSituation& situation) const {
  if (!situation.stealth || !situation.visible || situation.intervalSeconds <= 0) return {};
  return {true, paused_ ? kHandsFreePausedMs : kHandsFreeActiveMs};
}

void HandsFreeController::ResetHandsFree(bool reset) {
  const HandsFreeSituation situation = ports_.situation();
  if (reset) {
    last_.valid = baseline_.valid = answered_.valid = probed_.valid = false;
    checkJob_.reset();
    emptyScans_ = 0;
    paused_ = false;
    lastQueryDone_ = stripDisplayEnd_ = nextCheckAt_ = 0;
    if (situation.stealth && situation.replyOnDisplay) {
      answered_.valid = ports_.takeThumbnail(answered_.thumbnail);
    }
  }
  const HandsFreeTimer timer = TimerFor(situation);
  if (!timer.running) checkJob_.reset();
  ports_.runTimer(timer);
}

void HandsFreeController::HandsFreeTick() {
  const HandsFreeSituation situation = ports_.situation();
  const HandsFreeTimer timer = TimerFor(situation);
  if (!timer.running) {
    checkJob_.reset();
    ports_.runTimer(timer);
    return;
  }
  if (situation.busy) return;
  const uint64_t now = ports_.now();
  if (paused_) {
    PausedTick(situation, now);
  } else {
    ActiveTick(situation, now);
  }
}

bool HandsFreeController::TakeSettled(float stillChanging, ScreenThumbnail& thumbnail) {
  if (!ports_.takeThumbnail(thumbnail)) return false;
  const bool hadSample = last_.valid;
  const float difference = hadSample ? ScreenDifference(thumbnail, last_.thumbnail) : 0.0f;
  last_.thumbnail = thumbnail;
  last_.valid = true;
  return hadSample && difference <= stillChanging;
}

void HandsFreeController::ActiveTick(const HandsFreeSituation& situation, uint64_t now) {
  ScreenThumbnail thumbnail;
  if (!TakeSettled(kStillChangingActive, thumbnail)) return;
  // No sooner than the interval after the last query or the strip's last answer display.
  const uint64_t since = std::max(lastQueryDone_, stripDisplayEnd_);
  const uint64_t intervalMs = uint64_t(situation.intervalSeconds) * 1000;
  if (since != 0 && (now < since || now - since < intervalMs)) return;
  // The same question is never scanned twice in a row; its option is shown again instead.
  if (answered_.valid && ScreenDifference(thumbnail, answered_.thumbnail) < kSameAsAnswered) {
    if (situation.replyOnDisplay && situation.replyOption >= 0 && situation.replyOption <= 3) {
      ports_.reshowOption();
    }
    return;
  }
  StartAutoScan(thumbnail, false);
}

void HandsFreeController::PausedTick(const HandsFreeSituation& situation, uint64_t now) {
  if (checkJob_) return FinishCheck(situation);
  if (now < nextCheckAt_) return;
  ScreenThumbnail thumbnail;
  if (!TakeSettled(kStillChangingPaused, thumbnail)) return;
  if (probed_.valid && ScreenDifference(thumbnail, probed_.thumbnail) < kNothingNewSinceCheck) return;
  pendingCheck_ = thumbnail;
  checkJob_ = ports_.startCheck();  // none when its thread could not start: the next new screen tries again
}

void HandsFreeController::FinishCheck(const HandsFreeSituation& situation) {
  std::optional<TutorReply::Status> status = TryTakeResult(*checkJob_);
  if (!status) return;  // still running, or the worker holds the lock right now
  checkJob_.reset();
  probed_.thumbnail = pendingCheck_;
  probed_.valid = true;
  if (*status != TutorReply::Answer) return;
  paused_ = false;
  emptyScans_ = kEmptyScansBeforePause;  // one more empty scan pauses again at once
  ports_.runTimer(TimerFor(situation));
  StartAutoScan(pendingCheck_, true);
}

void HandsFreeController::StartAutoScan(const ScreenThumbnail& baseline, bool byCheck) {
  baseline_.thumbnail = baseline;
  baseline_.valid = true;
  autoStarted_ = true;
  startedByCheck_ = byCheck;
  ports_.startScan();
}

void HandsFreeController::QueryRefused() {
  autoStarted_ = false;
  startedByCheck_ = false;
  baseline_.valid = false;
}

void HandsFreeController::QueryStarting() {
  if (!autoStarted_) {
    // Started by hand: hands-free starts over from this screen.
    paused_ = false;
    emptyScans_ = 0;
    nextCheckAt_ = 0;
    checkJob_.reset();
    startedByCheck_ = false;
    if (ports_.situation().stealth) baseline_.valid = ports_.takeThumbnail(baseline_.thumbnail);
  }
  stripDisplayEnd_ = 0;
}

void HandsFreeController::QueryFinished(TutorReply::Status status) {
  const bool automatic = autoStarted_;
  const bool byCheck = startedByCheck_;
  autoStarted_ = startedByCheck_ = false;
  if (baseline_.valid) {
    answered_ = baseline_;
    baseline_.valid = false;
  }
  lastQueryDone_ = ports_.now();
  if (!automatic) {
    emptyScans_ = 0;
    paused_ = false;
    nextCheckAt_ = 0;
    ResetHandsFree(false);
    return;
  }
  switch (status) {
    case TutorReply::NoQuestion:
      if (++emptyScans_ > kEmptyScansBeforePause) {
        paused_ = true;
        probed_ = answered_;
        if (byCheck) nextCheckAt_ = lastQueryDone_ + kCheckHoldOffMs;
        ResetHandsFree(false);
      }
      break;
    case TutorReply::Answer:
      emptyScans_ = 0;
      nextCheckAt_ = 0;
      break;
    case TutorReply::Error: break;  // neither empty nor a reason to start counting again
  }
}
