#include "tutor/query_job.h"

std::shared_ptr<Job> StartQueryWorker(SolveFn solve, QueryKind kind, QueryQuality quality, std::wstring text,
                                      const ThreadStarter& startThread) {
  auto job = std::make_shared<Job>();
  std::function<TutorReply()> work = [solve = std::move(solve), kind, quality, text = std::move(text)] {
    return solve(kind, quality, text);
  };
  if (!StartWorker<TutorReply>(job, std::move(work), TutorReply::MakeError(L"Something went wrong. Please try again."),
                               startThread)) {
    FinishJob(*job, TutorReply::MakeError(kStartFailedMessage));
  }
  return job;
}

std::optional<TutorReply> TryCollect(Job& job) { return TryTakeResult(job); }
