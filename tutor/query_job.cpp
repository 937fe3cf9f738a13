#include "tutor/query_job.h"

#include <thread>

namespace {

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
        FinishJob(*job, std::move(reply));
      } catch (...) {
        // Storing failed (the lock could not be taken): the job stays unfinished.
      }
    });
  } catch (...) {
    FinishJob(*job, TutorReply::MakeError(kStartFailedMessage));
  }
  return job;
}

std::optional<TutorReply> TryCollect(Job& job) { return TryTakeResult(job); }
