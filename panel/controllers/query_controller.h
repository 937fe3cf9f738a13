#pragma once
// The query and the reply on display: starting a query (one at a time), its worker, collecting the
// reply on timer 1, the last reply with the kind that asked for it, and where its two cards are
// scrolled. What the panel shows or does around it arrives through QueryEvents.
#include <functional>
#include <memory>
#include <string>

#include "panel/controllers/timer_port.h"
#include "panel/panel_state.h"
#include "tutor/query_job.h"

// What the query side shows: a running query of `kind`, or the reply on display (null before the
// first one). `live` is the answer as far as it has streamed in: while `running` it shows instead of
// the busy page; with an error reply it is what arrived before the stream was cut off.
struct QueryOnView {
  bool running = false;
  QueryKind kind = QueryKind::Scan;
  const TutorReply* reply = nullptr;
  const LiveAnswer* live = nullptr;
};

// Starts the worker of one query; the job it returns already holds the start failure when no
// worker could be started. With `live` the worker streams the answer into the job as it is written.
using QueryWorkerStart = std::function<std::shared_ptr<Job>(QueryKind, QueryQuality, std::wstring text, bool live)>;

// Whether queries stream their answer: "Live answers" is on and the answers come from the
// chat-completions endpoint (local API-key mode) that can stream; hosted queries never do.
bool StreamsAnswers(bool liveAnswersSetting, bool hosted, bool canStream);

// What the panel does as a query goes, in this order for one query: Starting, then Started (or
// StartFailed), then ReplyArrived. A typed question that is blank hears Starting, then
// EmptyQuestion, and nothing starts.
struct QueryEvents {
  std::function<void()> starting;               // before anything changes: hands-free hears of it
  std::function<void()> emptyQuestion;          // an Ask with nothing but blanks: the box wants the focus
  std::function<void(QueryKind)> showRunning;   // the query already counts as running
  std::function<void()> startFailed;            // nothing could be set up; the reply is the failure
  std::function<void(QueryKind)> started;       // the worker runs and timer 1 polls it
  std::function<void(const TutorReply&)> replyArrived;
  std::function<void()> liveChanged;  // the growing answer on view changed: repaint it
};

class QueryController {
 public:
  QueryController(TimerPort& timers, QueryWorkerStart startWorker, QueryEvents events);

  // Starts a query unless one runs (then false and nothing happens). The caller has already made
  // the kind effective; a typed question is trimmed here, and a blank one starts nothing (false)
  // after hands-free has heard of the start, so a paused hands-free resumes as for any manual start.
  // A `live` query shows its answer as it streams in.
  bool Start(QueryKind kind, QueryQuality quality, std::wstring text, bool live = false);
  // Timer 1: shows what more of a streamed answer has arrived, and takes the reply when the worker
  // has stored it. The reply replaces the growing answer, which stays on view only when the stream
  // was cut off (beside the failure's sentence).
  void CollectQueryResult();

  bool running() const { return job_ != nullptr; }
  bool hasReply() const { return hasReply_; }
  const TutorReply& reply() const { return reply_; }
  // A reply has arrived and no query runs since, and it is an answer.
  bool answerOnDisplay() const { return hasReply_ && !job_ && reply_.status == TutorReply::Answer; }
  QueryOnView onView() const;
  // The answer and explanation cards show text (a reply, or an answer streaming in), so they scroll.
  bool cardsOnView() const { return (hasReply_ && !job_) || liveOnView(); }
  // The explanation card shows: an answer, or an answer streaming in (or cut off).
  bool explanationOnView() const { return answerOnDisplay() || liveOnView(); }
  // True once per query, for the first paint that shows its streamed answer.
  bool TakeFirstLivePaint();

  // A wheel notch of `wheelDelta` over the answer card (or else the explanation card).
  void Scroll(bool answerCard, int wheelDelta);
  const CardScrolls& scrolls() const { return scrolls_; }
  // What a paint measured (and clamped).
  void StoreScrolls(const CardScrolls& scrolls) { scrolls_ = scrolls; }

 private:
  void FailStart();
  void ReadLiveAnswer();
  bool liveOnView() const { return liveShown_ && (job_ || cutOffShown_); }

  OwnedTimer poll_;
  QueryWorkerStart startWorker_;
  QueryEvents events_;
  std::shared_ptr<Job> job_;  // non-null exactly while a query runs
  QueryKind lastKind_ = QueryKind::Scan;
  TutorReply reply_;
  bool hasReply_ = false;  // a reply has arrived since the last query started
  LiveAnswer live_;         // the running query's streamed answer so far (kept when it was cut off)
  bool liveShown_ = false;  // live_ has shown since the query started
  bool cutOffShown_ = false;  // the reply is the failure of a stream whose start stays on view
  bool livePainted_ = false;
  CardScrolls scrolls_;
};
