#include "tutor/query_job.h"

#include <mutex>

#include "tutor/partial_reply.h"

namespace {

TutorReply ThrownReply() { return TutorReply::MakeError(L"Something went wrong. Please try again."); }

std::shared_ptr<Job> StartJob(std::function<TutorReply(Job&)> work, const ThreadStarter& startThread) {
  auto job = std::make_shared<Job>();
  std::function<TutorReply()> run = [job = job.get(), work = std::move(work)] { return work(*job); };
  if (!StartWorker<TutorReply>(job, std::move(run), ThrownReply(), startThread))
    FinishJob<TutorReply>(*job, TutorReply::MakeError(kStartFailedMessage));
  return job;
}

}  // namespace

std::shared_ptr<Job> StartQueryWorker(SolveFn solve, QueryKind kind, QueryQuality quality, std::wstring text,
                                      const ThreadStarter& startThread) {
  return StartJob([solve = std::move(solve), kind, quality, text = std::move(text)](Job&) {
    return solve(kind, quality, text);
  }, startThread);
}

// The worker's closure holds the job while it runs, so the live-text function may point at it.
std::shared_ptr<Job> StartLiveQueryWorker(LiveSolveFn solve, QueryKind kind, QueryQuality quality, std::wstring text,
                                          const ThreadStarter& startThread) {
  return StartJob([solve = std::move(solve), kind, quality, text = std::move(text)](Job& job) {
    const LiveTextFn live = [&job](std::string_view textSoFar, bool cutOff) { PublishLiveText(job, textSoFar, cutOff); };
    return solve(kind, quality, text, live);
  }, startThread);
}

std::optional<TutorReply> TryCollect(Job& job) { return TryTakeResult<TutorReply>(job); }

std::optional<LiveAnswer> TryReadLiveAnswer(Job& job, unsigned seenRevision) {
  std::unique_lock<std::mutex> guard(job.lock, std::try_to_lock);
  if (!guard.owns_lock() || job.live.revision == seenRevision) return std::nullopt;
  return job.live;
}

void PublishLiveText(Job& job, std::string_view textSoFar, bool cutOff) {
  PartialReply partial = ReadPartialReply(textSoFar);
  std::lock_guard<std::mutex> guard(job.lock);
  LiveAnswer& live = job.live;
  if (live.answer == partial.answer && live.explanation == partial.explanation && live.cutOff == cutOff) return;
  live.answer = std::move(partial.answer);
  live.explanation = std::move(partial.explanation);
  live.cutOff = cutOff;
  ++live.revision;
}
