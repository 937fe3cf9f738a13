#pragma once
// One piece of work on a detached worker thread, and its result collected by polling from the UI
// thread. The job is shared between both sides; whichever lets go last frees it.
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <system_error>
#include <utility>

#include "core/log.h"

template <class Result>
struct WorkerJob {
  std::mutex lock;
  std::optional<Result> result;  // set once, by the worker (or by a failed start)
};

// Starts `work` on a new thread and lets it run on its own; throws when no thread can be started.
// Tests pass one that they can join.
using ThreadStarter = std::function<void(std::function<void()> work)>;

// A detached std::thread.
inline void StartDetachedThread(std::function<void()> work) { std::thread(std::move(work)).detach(); }

// Runs `work` on a new thread and stores its result in the job; anything thrown is logged and
// becomes `onThrow`. Returns false, logged, when the thread could not be started (the job then
// stays empty).
template <class Result>
bool StartWorker(const std::shared_ptr<WorkerJob<Result>>& job, std::function<Result()> work,
                 Result onThrow, const ThreadStarter& startThread = StartDetachedThread) noexcept {
  try {
    startThread([job, work = std::move(work), onThrow = std::move(onThrow)]() mutable {
      std::optional<Result> outcome;
      try {
        outcome = work();
      } catch (...) {
        LogCaughtException("worker stopped by an exception");  // the worker's thread boundary
        outcome.reset();
      }
      if (!outcome) outcome = std::move(onThrow);
      try {
        std::lock_guard<std::mutex> guard(job->lock);
        job->result = std::move(outcome);
      } catch (const std::system_error&) {
        LogCaughtException("worker result lost");  // the lock could not be taken
      }
    });
    return true;
  } catch (...) {
    LogCaughtException("worker not started");
    return false;
  }
}

// Stores a result directly (the start failed); never blocks for long since no worker runs.
template <class Result>
void FinishJob(WorkerJob<Result>& job, Result result) {
  std::lock_guard<std::mutex> guard(job.lock);
  job.result = std::move(result);
}

// Takes the result if the worker has stored one, without ever waiting for the lock.
template <class Result>
std::optional<Result> TryTakeResult(WorkerJob<Result>& job) {
  std::unique_lock<std::mutex> guard(job.lock, std::try_to_lock);
  if (!guard.owns_lock() || !job.result) return std::nullopt;
  std::optional<Result> taken = std::move(job.result);
  job.result.reset();
  return taken;
}
