#include "panel/controllers/query_controller.h"

#include <exception>

#include "core/log.h"
#include "panel/live_answer_text.h"
#include "panel/panel_rules.h"

bool StreamsAnswers(bool liveAnswersSetting, bool hosted, bool canStream) {
  return liveAnswersSetting && !hosted && canStream;
}

QueryController::QueryController(TimerPort& timers, QueryWorkerStart startWorker, QueryEvents events)
    : poll_(timers, panel_timer::QueryPoll), startWorker_(std::move(startWorker)), events_(std::move(events)) {}

bool QueryController::Start(QueryKind kind, QueryQuality quality, std::wstring text, bool live) {
  if (job_) return false;
  if (events_.starting) events_.starting();
  if (kind == QueryKind::Ask) {
    text = TrimQuestion(text);
    if (text.empty()) {
      if (events_.emptyQuestion) events_.emptyQuestion();
      return false;
    }
  }
  try {
    job_ = std::make_shared<Job>();  // marks the query as running while the panel updates
    lastKind_ = kind;
    hasReply_ = false;
    live_ = {};
    liveShown_ = cutOffShown_ = livePainted_ = false;
    scrolls_ = {};
    if (events_.showRunning) events_.showRunning(kind);
    job_ = startWorker_(kind, quality, std::move(text), live);
  } catch (const std::exception& caught) {
    // Nothing could be set up (out of memory): the query ends at once with the start failure.
    VykLog("[vyk] Query could not start: %s\n", caught.what());
    FailStart();
    return true;
  }
  if (!job_) {
    FailStart();
    return true;
  }
  if (events_.started) events_.started(kind);
  poll_.Start(panel_timer::QueryPollMs);
  CollectQueryResult();
  return true;
}

void QueryController::FailStart() {
  job_.reset();
  reply_ = TutorReply::MakeError(kStartFailedMessage);
  hasReply_ = true;
  if (events_.startFailed) events_.startFailed();
}

// Takes what more of a streamed answer has arrived (never waiting for the worker's lock).
void QueryController::ReadLiveAnswer() {
  std::optional<LiveAnswer> live = TryReadLiveAnswer(*job_, live_.revision);
  if (!live) return;
  live_ = std::move(*live);
  liveShown_ = liveShown_ || LiveAnswerShows(lastKind_, live_.answer, live_.explanation);
}

void QueryController::CollectQueryResult() {
  if (!job_) return;
  const unsigned seen = live_.revision;
  ReadLiveAnswer();
  std::optional<TutorReply> reply = TryCollect(*job_);
  if (!reply) {
    if (live_.revision != seen && liveShown_ && events_.liveChanged) events_.liveChanged();
    return;
  }
  ReadLiveAnswer();  // the worker marks a cut stream just before it stores the failure
  reply_ = std::move(*reply);
  job_.reset();
  hasReply_ = true;
  cutOffShown_ = liveShown_ && live_.cutOff && reply_.status == TutorReply::Error;
  if (!cutOffShown_) live_ = {};
  poll_.Stop();
  if (events_.replyArrived) events_.replyArrived(reply_);
}

QueryOnView QueryController::onView() const {
  return {running(), lastKind_, hasReply_ ? &reply_ : nullptr, liveOnView() ? &live_ : nullptr};
}

bool QueryController::TakeFirstLivePaint() {
  if (!job_ || !liveShown_ || livePainted_) return false;
  livePainted_ = true;
  return true;
}

void QueryController::Scroll(bool answerCard, int wheelDelta) {
  if (answerCard) {
    scrolls_.answer = ScrollAfterWheel(scrolls_.answer, scrolls_.answerMax, wheelDelta);
  } else {
    scrolls_.explanation = ScrollAfterWheel(scrolls_.explanation, scrolls_.explanationMax, wheelDelta);
  }
}
