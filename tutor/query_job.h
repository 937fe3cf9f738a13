#pragma once
// Hand-over of one query between the UI thread and its worker. The worker stores the reply under
// the job's lock; the UI thread polls with a try-lock and never waits. No window code here.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/worker_job.h"
#include "tutor/live_text.h"
#include "tutor/tutor_types.h"

// The answer of a streamed query as far as it has arrived, for the panel to show while the query
// runs. The final reply (the job's result) replaces it.
struct LiveAnswer {
  std::wstring answer;       // the reply's "answer" so far (or the prose so far), trimmed
  std::wstring explanation;  // the "explanation" so far, trimmed
  bool cutOff = false;       // the stream failed part way: this is what arrived before it did
  unsigned revision = 0;     // grows with every change; 0 while nothing has arrived

  bool operator==(const LiveAnswer&) const = default;
};

// One running query, shared by the panel and its worker; either may drop it first. `live` is
// guarded by the same lock as the result.
struct Job : WorkerJob<TutorReply> {
  LiveAnswer live;
};

// The solve operation a worker runs (SolveQuery bound to its own copy of the configuration).
using SolveFn = std::function<TutorReply(QueryKind kind, QueryQuality quality, const std::wstring& text)>;
// The same, handing the growing text of a streamed answer to `live` on the worker.
using LiveSolveFn = std::function<TutorReply(QueryKind kind, QueryQuality quality, const std::wstring& text,
                                             const LiveTextFn& live)>;

// What a query ends in when its worker cannot be started.
inline constexpr const wchar_t* kStartFailedMessage = L"Couldn't start the tutor. Try again.";

// Creates the job and starts its worker. If the worker cannot be started, the job already holds
// "Couldn't start the tutor. Try again."; a solve operation that throws (or is empty) ends in
// "Something went wrong. Please try again.".
std::shared_ptr<Job> StartQueryWorker(SolveFn solve, QueryKind kind, QueryQuality quality, std::wstring text,
                                      const ThreadStarter& startThread = StartDetachedThread);

// The same for a query whose answer streams in: the worker keeps the job's `live` answer up to
// date (under the job's lock) as the text grows, so the panel can show it before the reply is done.
std::shared_ptr<Job> StartLiveQueryWorker(LiveSolveFn solve, QueryKind kind, QueryQuality quality, std::wstring text,
                                          const ThreadStarter& startThread = StartDetachedThread);

// The reply if the worker has stored it, taking it out of the job; nothing when the query is still
// running or the worker holds the lock at this moment. Never blocks.
std::optional<TutorReply> TryCollect(Job& job);

// A copy of the live answer when its revision differs from `seenRevision`; nothing when it has not
// changed or the worker holds the lock at this moment. Never blocks.
std::optional<LiveAnswer> TryReadLiveAnswer(Job& job, unsigned seenRevision);

// Worker side: reads the text so far (see ReadPartialReply) into the job's live answer, and moves
// its revision on when what it shows changed.
void PublishLiveText(Job& job, std::string_view textSoFar, bool cutOff);
