#include "panel/controllers/query_controller.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "core/log.h"
#include "panel/controllers/tests/fake_timers.h"
#include "panel/panel_rules.h"

namespace {

struct QueryControllerTest : ::testing::Test {
  QueryWorkerStart Worker() {
    return [this](QueryKind, QueryQuality, std::wstring text) {
      if (throwOnStart) throw std::bad_alloc();
      asked.push_back(text);
      job = std::make_shared<Job>();
      return job;
    };
  }
  QueryEvents Events() {
    QueryEvents events;
    events.starting = [this] { seen.push_back("starting"); };
    events.emptyQuestion = [this] { seen.push_back("empty question"); };
    events.showRunning = [this](QueryKind) { seen.push_back(query.running() ? "running shown" : "shown idle"); };
    events.startFailed = [this] { seen.push_back("start failed"); };
    events.started = [this](QueryKind) { seen.push_back("started"); };
    events.replyArrived = [this](const TutorReply& reply) { seen.push_back("reply " + std::to_string(reply.status)); };
    return events;
  }

  FakeTimers timers;
  std::vector<std::string> seen;
  std::vector<std::wstring> asked;
  bool throwOnStart = false;
  std::shared_ptr<Job> job;
  QueryController query{timers, Worker(), Events()};
};

TEST_F(QueryControllerTest, OneQueryAtATimeItsReplyTakenOnTimerOne) {
  ASSERT_TRUE(query.Start(QueryKind::Ask, QueryQuality::Fast, L"2+2?"));
  EXPECT_EQ(seen, (std::vector<std::string>{"starting", "running shown", "started"}));
  EXPECT_EQ(timers.running, (std::map<unsigned, unsigned>{{panel_timer::QueryPoll, 35}}));
  EXPECT_TRUE(query.running());
  EXPECT_EQ(query.onView().reply, nullptr);

  // A second request while the first runs is refused and changes nothing.
  EXPECT_FALSE(query.Start(QueryKind::Scan, QueryQuality::Deep, L""));
  EXPECT_EQ(asked, (std::vector<std::wstring>{L"2+2?"}));

  query.CollectQueryResult();  // the worker has not answered yet
  EXPECT_TRUE(query.running());
  EXPECT_TRUE(timers.Runs(panel_timer::QueryPoll));

  TutorReply answer = TutorReply::MakeError(L"");
  answer.status = TutorReply::Answer;
  answer.text = L"4";
  answer.option = 2;
  FinishJob(*job, answer);
  query.CollectQueryResult();
  EXPECT_FALSE(query.running());
  EXPECT_FALSE(timers.Runs(panel_timer::QueryPoll));
  EXPECT_EQ(seen.back(), "reply 0");
  ASSERT_NE(query.onView().reply, nullptr);
  EXPECT_EQ(query.onView().reply->text, L"4");
  EXPECT_EQ(query.onView().kind, QueryKind::Ask);
  EXPECT_TRUE(query.answerOnDisplay());

  // The next query hides the reply until its own arrives.
  ASSERT_TRUE(query.Start(QueryKind::Scan, QueryQuality::Fast, L""));
  EXPECT_FALSE(query.hasReply());
  EXPECT_FALSE(query.answerOnDisplay());
}

TEST_F(QueryControllerTest, ABlankQuestionStartsNothingButHandsFreeHearsOfTheStartFirst) {
  // Hands-free hears of every manual start (a paused hands-free resumes) before a blank question
  // stops it; the question goes out trimmed.
  EXPECT_FALSE(query.Start(QueryKind::Ask, QueryQuality::Fast, L" \t\r\n "));
  EXPECT_EQ(seen, (std::vector<std::string>{"starting", "empty question"}));
  EXPECT_FALSE(query.running());
  EXPECT_TRUE(asked.empty());
  EXPECT_TRUE(timers.running.empty());

  seen.clear();
  ASSERT_TRUE(query.Start(QueryKind::Ask, QueryQuality::Fast, L"\n  why?\t"));
  EXPECT_EQ(seen, (std::vector<std::string>{"starting", "running shown", "started"}));
  EXPECT_EQ(asked, (std::vector<std::wstring>{L"why?"}));
}

TEST_F(QueryControllerTest, ANewReplyStartsAtTheTopOfBothCards) {
  ASSERT_TRUE(query.Start(QueryKind::Scan, QueryQuality::Fast, L""));
  FinishJob(*job, TutorReply::MakeError(L"x"));
  query.CollectQueryResult();
  query.StoreScrolls({0, 200, 0, 80});
  query.Scroll(true, -120);
  query.Scroll(false, -240);
  EXPECT_GT(query.scrolls().answer, 0);
  EXPECT_GT(query.scrolls().explanation, 0);

  ASSERT_TRUE(query.Start(QueryKind::Scan, QueryQuality::Fast, L""));
  FinishJob(*job, TutorReply::MakeError(L"y"));
  query.CollectQueryResult();
  EXPECT_EQ(query.scrolls().answer, 0);
  EXPECT_EQ(query.scrolls().explanation, 0);
}

TEST_F(QueryControllerTest, AQueryThatCannotBeSetUpEndsInTheStartFailureAndIsLogged) {
  std::vector<std::string> lines;
  SetLogSink([&](const std::string& line) { lines.push_back(line); });
  throwOnStart = true;
  EXPECT_TRUE(query.Start(QueryKind::Scan, QueryQuality::Fast, L""));
  SetLogSink({});
  EXPECT_FALSE(query.running());
  EXPECT_TRUE(timers.running.empty());
  ASSERT_TRUE(query.hasReply());
  EXPECT_EQ(query.reply().status, TutorReply::Error);
  EXPECT_EQ(query.reply().text, kStartFailedMessage);
  EXPECT_EQ(seen.back(), "start failed");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind("[vyk] Query could not start: ", 0), 0u) << lines[0];

  // The panel can ask again at once.
  throwOnStart = false;
  EXPECT_TRUE(query.Start(QueryKind::Scan, QueryQuality::Fast, L""));
  EXPECT_TRUE(query.running());
}

}  // namespace
