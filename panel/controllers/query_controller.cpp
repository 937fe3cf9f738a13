#include "panel/controllers/query_controller.h"

#include <exception>

#include "core/log.h"
#include "panel/panel_rules.h"

QueryController::QueryController(TimerPort& timers, QueryWorkerStart startWorker, QueryEvents events)
    : poll_(timers, panel_timer::QueryPoll), startWorker_(std::move(startWorker)), events_(std::move(events)) {}

bool QueryController::Start(QueryKind kind, QueryQuality quality, std::wstring text) {
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
    if (events_.showRunning) events_.showRunning(kind);
    job_ = startWorker_(kind, quality, std::move(text));
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

void QueryController::CollectQueryResult() {
  if (!job_) return;
  // A streamed answer would be read here too: the worker's partial reply, taken under the job's
  // lock like the final one, kept for onView() and repainted on this same poll.
  std::optional<TutorReply> reply = TryCollect(*job_);
  if (!reply) return;
  reply_ = std::move(*reply);
  job_.reset();
  hasReply_ = true;
  scrolls_.answer = 0;
  scrolls_.explanation = 0;
  poll_.Stop();
  if (events_.replyArrived) events_.replyArrived(reply_);
}

void QueryController::Scroll(bool answerCard, int wheelDelta) {
  if (answerCard) {
    scrolls_.answer = ScrollAfterWheel(scrolls_.answer, scrolls_.answerMax, wheelDelta);
  } else {
    scrolls_.explanation = ScrollAfterWheel(scrolls_.explanation, scrolls_.explanationMax, wheelDelta);
  }
}
