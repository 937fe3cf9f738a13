#include "tutor/query_job.h"

#include <thread>

namespace {

void StoreResult(Job& job, TutorReply reply) {
  std::lock_guard<std::mutex> guard(job.lock);
  job.result = std::move(reply);
}

TutorReply RunSolve(const SolveFn& solve, QueryKind kind, QueryQuality quality, const std::wstring& text) {
  try {
    return solve(kind, quality, text);
  } catch (...) {
    return TutorReply::MakeError(L"Something went wrong. Please try again.");
  }
}

}  // namespace

void StartDetachedThread(std::function<void()> work) { std::thread(std::move(work)).detach(); }

std::shared_ptr<Job> StartQueryWorker(SolveFn solve, QueryKind kind, QueryQuality quality, std::wstring text,
                                      const ThreadStarter& startThread) {
  auto job = std::make_shared<Job>();
  try {
    startThread([job, solve = std::move(solve), kind, quality, text = std::move(text)]() mutable {
      TutorReply reply = RunSolve(solve, kind, quality, text);
      try {
        StoreResult(*job, std::move(reply));
      } catch (...) {
        // Storing failed (the lock could not be taken): the job stays unfinished.
      }
    });
  } catch (...) {
    StoreResult(*job, TutorReply::MakeError(L"Couldn't start the tutor. Try again."));
  }
  return job;
}

std::optional<TutorReply> TryCollect(Job& job) {
  std::unique_lock<std::mutex> guard(job.lock, std::try_to_lock);
  if (!guard.owns_lock() || !job.result) return std::nullopt;
  std::optional<TutorReply> reply = std::move(job.result);
  job.result.reset();
  return reply;
}
