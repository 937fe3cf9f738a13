#include "core/worker_job.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <stdexcept>
#include <string>

namespace {

using StringJob = WorkerJob<std::string>;

std::optional<std::string> WaitForResult(StringJob& job) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    if (auto taken = TryTakeResult(job)) return taken;
    std::this_thread::yield();
  }
  return std::nullopt;
}

TEST(WorkerJob, ResultArrivesOnceAndOnlyWhenStored) {
  auto job = std::make_shared<StringJob>();
  std::mutex gate;
  std::unique_lock<std::mutex> hold(gate);
  ASSERT_TRUE(StartWorker<std::string>(job, [&gate] {
    std::lock_guard<std::mutex> wait(gate);
    return std::string("done");
  }, "failed"));
  EXPECT_FALSE(TryTakeResult(*job).has_value());  // worker still held at the gate
  hold.unlock();
  EXPECT_EQ(WaitForResult(*job), "done");
  EXPECT_FALSE(TryTakeResult(*job).has_value());  // taken once
}

TEST(WorkerJob, ThrowingWorkBecomesTheFallbackResult) {
  auto job = std::make_shared<StringJob>();
  ASSERT_TRUE(StartWorker<std::string>(job, []() -> std::string { throw std::runtime_error("x"); },
                                       "Something went wrong"));
  EXPECT_EQ(WaitForResult(*job), "Something went wrong");
  auto empty = std::make_shared<StringJob>();
  ASSERT_TRUE(StartWorker<std::string>(empty, std::function<std::string()>(), "no operation"));
  EXPECT_EQ(WaitForResult(*empty), "no operation");
}

TEST(WorkerJob, BusyLockIsNotWaitedFor) {
  StringJob job;
  FinishJob(job, std::string("ready"));
  {
    std::lock_guard<std::mutex> busy(job.lock);
    EXPECT_FALSE(TryTakeResult(job).has_value());
  }
  EXPECT_EQ(TryTakeResult(job), "ready");
}

TEST(WorkerJob, WorkerOutlivesAnAbandonedJob) {
  std::mutex gate;
  std::condition_variable finished;
  bool done = false;
  std::unique_lock<std::mutex> hold(gate);
  {
    auto job = std::make_shared<StringJob>();
    ASSERT_TRUE(StartWorker<std::string>(job, [&] {
      std::lock_guard<std::mutex> wait(gate);
      done = true;
      finished.notify_all();
      return std::string("late");
    }, ""));
  }  // the panel lets go first
  finished.wait_for(hold, std::chrono::seconds(30), [&] { return done; });
  EXPECT_TRUE(done);
}

}  // namespace
