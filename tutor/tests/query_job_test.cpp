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

// The panel sees the answer grow while the worker streams it, each change once, then the reply.
TEST(QueryJob, ALiveQueryShowsItsGrowingAnswerUntilTheReply) {
  std::promise<void> steps[3];
  std::shared_future<void> released[3];
  for (int i = 0; i < 3; ++i) released[i] = steps[i].get_future().share();
  std::promise<void> published[2];
  JoinableStarter worker;
  auto job = StartLiveQueryWorker(
      [&](QueryKind, QueryQuality, const std::wstring&, const LiveTextFn& live) {
        released[0].wait();
        live("{\"answer\":\"Pa", false);
        live("{\"answer\":\"Pa", false);  // nothing new to show
        published[0].set_value();
        released[1].wait();
        live("{\"answer\":\"Paris\",\"explanation\":\"Cap", true);
        published[1].set_value();
        released[2].wait();
        return TutorReply::MakeError(L"cut");
      },
      QueryKind::Ask, QueryQuality::Fast, L"q", worker.Starter());

  EXPECT_FALSE(TryReadLiveAnswer(*job, 0).has_value());  // nothing yet
  steps[0].set_value();
  published[0].get_future().wait();
  std::optional<LiveAnswer> first = TryReadLiveAnswer(*job, 0);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->answer, L"Pa");
  EXPECT_FALSE(first->cutOff);
  EXPECT_EQ(first->revision, 1u);
  EXPECT_FALSE(TryReadLiveAnswer(*job, first->revision).has_value());
  steps[1].set_value();
  published[1].get_future().wait();
  std::optional<LiveAnswer> second = TryReadLiveAnswer(*job, first->revision);
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->answer, L"Paris");
  EXPECT_EQ(second->explanation, L"Cap");
  EXPECT_TRUE(second->cutOff);
  EXPECT_FALSE(TryCollect(*job).has_value());
  {
    std::lock_guard<std::mutex> busy(job->lock);  // as the worker holds it while it publishes
    EXPECT_FALSE(std::async(std::launch::async, [&] { return TryReadLiveAnswer(*job, 0).has_value(); }).get());
  }
  steps[2].set_value();
  const std::optional<TutorReply> reply = WaitForReply(*job);
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->text, L"cut");
}

}  // namespace
