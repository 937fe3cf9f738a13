#include "tutor/query_job.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Polls the job the way the panel's timer does, until a reply arrives or a generous time-out.
std::optional<TutorReply> WaitForReply(Job& job) {
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while (std::chrono::steady_clock::now() < deadline) {
    if (std::optional<TutorReply> reply = TryCollect(job)) return reply;
    std::this_thread::yield();
  }
  return std::nullopt;
}

// Runs the worker on a joinable thread so a test can wait for its very end.
struct JoinableStarter {
  std::thread thread;
  ThreadStarter Starter() {
    return [this](std::function<void()> work) { thread = std::thread(std::move(work)); };
  }
  ~JoinableStarter() {
    if (thread.joinable()) thread.join();
  }
};

TEST(QueryJob, WorkerReplyIsCollectedOnceWithItsInputs) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  JoinableStarter worker;
  auto job = StartQueryWorker(
      [released](QueryKind kind, QueryQuality quality, const std::wstring& text) {
        released.wait();
        TutorReply reply;
        reply.status = TutorReply::Answer;
        reply.text = text + L"|" + std::to_wstring(int(kind)) + L"|" + std::to_wstring(int(quality));
        reply.option = 2;
        return reply;
      },
      QueryKind::Ask, QueryQuality::Deep, L"what is 2+2", worker.Starter());

  EXPECT_FALSE(TryCollect(*job).has_value());  // still running
  release.set_value();
  const std::optional<TutorReply> reply = WaitForReply(*job);
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->status, TutorReply::Answer);
  EXPECT_EQ(reply->text, L"what is 2+2|3|1");
  EXPECT_EQ(reply->option, 2);
  EXPECT_FALSE(TryCollect(*job).has_value());  // taken
}

TEST(QueryJob, ThrowingOrMissingSolveBecomesOneSentence) {
  const SolveFn throwing = [](QueryKind, QueryQuality, const std::wstring&) -> TutorReply {
    throw std::runtime_error("boom");
  };
  const SolveFn throwingInt = [](QueryKind, QueryQuality, const std::wstring&) -> TutorReply { throw 7; };
  for (const SolveFn& solve : {throwing, throwingInt, SolveFn()}) {
    auto job = StartQueryWorker(solve, QueryKind::Scan, QueryQuality::Fast, L"");
    const std::optional<TutorReply> reply = WaitForReply(*job);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->status, TutorReply::Error);
    EXPECT_EQ(reply->text, L"Something went wrong. Please try again.");
    EXPECT_EQ(reply->option, -1);
  }
}

TEST(QueryJob, ThreadThatCannotStartLeavesTheStartErrorReadyAtOnce) {
  bool solved = false;
  auto job = StartQueryWorker(
      [&](QueryKind, QueryQuality, const std::wstring&) {
        solved = true;
        return TutorReply();
      },
      QueryKind::Ask, QueryQuality::Fast, L"q",
      [](std::function<void()>) { throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again)); });
  const std::optional<TutorReply> reply = TryCollect(*job);
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->status, TutorReply::Error);
  EXPECT_EQ(reply->text, L"Couldn't start the tutor. Try again.");
  EXPECT_FALSE(solved);
}

TEST(QueryJob, CollectNeverWaitsForABusyLock) {
  Job job;
  job.result = TutorReply::MakeError(L"done");
  std::promise<void> locked, unlock;
  std::thread holder([&] {
    std::lock_guard<std::mutex> guard(job.lock);
    locked.set_value();
    unlock.get_future().wait();
  });
  locked.get_future().wait();
  EXPECT_FALSE(TryCollect(job).has_value());  // returns at once although a result is stored
  unlock.set_value();
  holder.join();
  ASSERT_TRUE(TryCollect(job).has_value());
}

TEST(QueryJob, WorkerMayFinishAfterThePanelDroppedTheJob) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  JoinableStarter worker;
  std::weak_ptr<Job> watch;
  {
    auto job = StartQueryWorker(
        [released](QueryKind, QueryQuality, const std::wstring&) {
          released.wait();
          return TutorReply::MakeError(L"late");
        },
        QueryKind::Ask, QueryQuality::Fast, L"q", worker.Starter());
    watch = job;
  }
  EXPECT_FALSE(watch.expired());  // the worker still holds it
  release.set_value();
  worker.thread.join();
  EXPECT_TRUE(watch.expired());  // and released it when done
}

}  // namespace
