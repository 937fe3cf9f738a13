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
    return [this](QueryKind, QueryQuality, std::wstring text, bool live) {
      if (throwOnStart) throw std::bad_alloc();
      asked.push_back(text);
      streamed.push_back(live);
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
    events.liveChanged = [this] { seen.push_back("live " + std::to_string(query.onView().live ? 1 : 0)); };
    return events;
  }

  FakeTimers timers;
  std::vector<std::string> seen;
  std::vector<std::wstring> asked;
  std::vector<bool> streamed;
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

TEST(StreamsAnswers, OnlyWithTheSettingOnInLocalModeWithAStreamingSolve) {
  EXPECT_TRUE(StreamsAnswers(true, false, true));
  EXPECT_FALSE(StreamsAnswers(false, false, true));  // off by default: every query as before
  EXPECT_FALSE(StreamsAnswers(true, true, true));    // hosted queries never stream
  EXPECT_FALSE(StreamsAnswers(true, false, false));
}

TutorReply Answer(const wchar_t* text, const wchar_t* explanation, int option) {
  TutorReply reply = TutorReply::MakeError(L"");
  reply.status = TutorReply::Answer;
  reply.text = text;
  reply.explanation = explanation;
  reply.option = option;
  return reply;
}

// The streamed answer shows on timer 1 as it grows, while the query still runs (so the buttons,
// the badge, Ctrl+C and hands-free wait); the reply then replaces it.
TEST_F(QueryControllerTest, AStreamedAnswerShowsAsItGrowsAndTheReplyReplacesIt) {
  ASSERT_TRUE(query.Start(QueryKind::Ask, QueryQuality::Fast, L"2+2?", true));
  EXPECT_EQ(streamed, std::vector<bool>{true});
  EXPECT_FALSE(query.cardsOnView());

  PublishLiveText(*job, R"({"answer":"Fo)", false);
  query.CollectQueryResult();
  ASSERT_NE(query.onView().live, nullptr);
  EXPECT_EQ(query.onView().live->answer, L"Fo");
  EXPECT_TRUE(query.running());
  EXPECT_FALSE(query.hasReply());
  EXPECT_FALSE(query.answerOnDisplay());
  EXPECT_TRUE(query.cardsOnView());
  EXPECT_TRUE(query.explanationOnView());
  EXPECT_TRUE(query.TakeFirstLivePaint());
  EXPECT_FALSE(query.TakeFirstLivePaint());  // once per query

  query.CollectQueryResult();  // nothing new: no repaint asked
  PublishLiveText(*job, R"({"answer":"Four","explanation":"Two and)", false);
  query.CollectQueryResult();
  EXPECT_EQ(query.onView().live->explanation, L"Two and");
  EXPECT_EQ(seen, (std::vector<std::string>{"starting", "running shown", "started", "live 1", "live 1"}));
  EXPECT_TRUE(timers.Runs(panel_timer::QueryPoll));

  FinishJob(*job, Answer(L"Four", L"Two and two.", 3));
  query.CollectQueryResult();
  EXPECT_EQ(seen.back(), "reply 0");
  EXPECT_EQ(query.onView().live, nullptr);
  ASSERT_NE(query.onView().reply, nullptr);
  EXPECT_EQ(query.onView().reply->option, 3);
  EXPECT_FALSE(timers.Runs(panel_timer::QueryPoll));
}

// A stream that fails part way keeps what arrived on view beside the failure; a failure before any
// answer text, or the next query, shows nothing of it.
TEST_F(QueryControllerTest, AStreamCutOffKeepsWhatArrivedBesideTheFailure) {
  const TutorReply failure = TutorReply::MakeError(L"The tutor service didn't return readable text. Try again.");
  ASSERT_TRUE(query.Start(QueryKind::Ask, QueryQuality::Fast, L"q", true));
  PublishLiveText(*job, R"({"answer":"Paris","explanation":"It is the cap)", false);
  query.CollectQueryResult();
  PublishLiveText(*job, R"({"answer":"Paris","explanation":"It is the cap)", true);  // read with the reply
  FinishJob(*job, failure);
  query.CollectQueryResult();
  EXPECT_FALSE(query.running());
  ASSERT_NE(query.onView().live, nullptr);
  EXPECT_TRUE(query.onView().live->cutOff);
  EXPECT_EQ(query.onView().live->answer, L"Paris");
  EXPECT_EQ(query.reply().text, failure.text);
  EXPECT_TRUE(query.explanationOnView());
  EXPECT_FALSE(query.answerOnDisplay());  // no badge, no copy, no strip: it is a failure

  ASSERT_TRUE(query.Start(QueryKind::Ask, QueryQuality::Fast, L"q", true));
  EXPECT_EQ(query.onView().live, nullptr);
  PublishLiveText(*job, R"({"answ)", true);
  FinishJob(*job, failure);
  query.CollectQueryResult();
  EXPECT_EQ(query.onView().live, nullptr);  // nothing had arrived: the failure alone, as always
}

TEST_F(QueryControllerTest, AScanWhoseModelWritesNoneNeverShowsIt) {
  ASSERT_TRUE(query.Start(QueryKind::Scan, QueryQuality::Fast, L"", true));
  for (const char* written : {"n", "non", "none"}) {
    PublishLiveText(*job, written, false);
    query.CollectQueryResult();
    EXPECT_EQ(query.onView().live, nullptr) << written;
  }
  EXPECT_EQ(seen.back(), "started");  // nothing to repaint
  TutorReply none = TutorReply::MakeError(L"");
  none.status = TutorReply::NoQuestion;
  none.text.clear();
  FinishJob(*job, none);
  query.CollectQueryResult();
  EXPECT_EQ(query.onView().live, nullptr);
}

}  // namespace
