#include "tutor/hosted_solve.h"

#include <gtest/gtest.h>

#include <vector>

#include "account/session_refresh.h"
#include "account/sign_in.h"
#include "account/tests/account_fakes.h"
#include "core/log.h"

namespace {

class HostedSolveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    config.hosted = true;
    config.backendUrl = "http://127.0.0.1:8765/";
    fake.store.Save(SessionTokens{"acc-1", "ref-1", "ada@example.org"});
    SetLogSink([this](const std::string& line) { logLines.push_back(line); });
  }
  void TearDown() override { SetLogSink(nullptr); }

  TutorReply Ask(const std::string& text = "2+2?") {
    return HostedSolve(config, context, QueryKind::Ask, QueryQuality::Fast, text, "");
  }
  // The first solve comes back 401 and the refresh hands out "acc-2".
  void ScriptExpiredThenRefreshed() {
    fake.network.Reply(401, "");
    fake.network.Reply(200, "{\"access_token\":\"acc-2\",\"refresh_token\":\"ref-2\"}");
  }
  TutorReply AnswerTo(int status, const std::string& body) {
    fake.network.Reply(status, body);
    return Ask();
  }

  FakeHosted fake;
  HostedContext context = fake.Context();
  TutorConfig config;
  std::vector<std::string> logLines;
};

}  // namespace

TEST(HostedSolveBody, FieldsInOrderWithExactlyOneOfTextAndImage) {
  EXPECT_EQ(HostedSolveBody(QueryKind::Snip, QueryQuality::Deep, "DESK-7", "ignored",
                            "data:image/jpeg;base64,/9j/AA=="),
            "{\"kind\":\"snip\",\"quality\":\"deep\",\"device_label\":\"DESK-7\","
            "\"image_b64\":\"data:image/jpeg;base64,/9j/AA==\"}");
  EXPECT_EQ(HostedSolveBody(QueryKind::Ask, QueryQuality::Fast, "Lab \"A\"", "x\n\"y\"", ""),
            "{\"kind\":\"ask\",\"quality\":\"fast\",\"device_label\":\"Lab \\\"A\\\"\","
            "\"text\":\"x\\n\\\"y\\\"\"}");
  EXPECT_EQ(HostedSolveBody(QueryKind::Scan, QueryQuality::Fast, "L", "", ""),
            "{\"kind\":\"scan\",\"quality\":\"fast\",\"device_label\":\"L\",\"text\":\"\"}");
  EXPECT_NE(HostedSolveBody(QueryKind::VisionScan, QueryQuality::Fast, "L", "", "data:x")
                .find("\"kind\":\"scan_vision\""),
            std::string::npos);
  EXPECT_NE(HostedSolveBody(QueryKind::QuestionCheck, QueryQuality::Fast, "L", "t", "")
                .find("\"kind\":\"ask\""),
            std::string::npos);
}

TEST_F(HostedSolveTest, PostsToTheSolveEndpointWithTheSession) {
  TutorReply reply = AnswerTo(200,
                              "{\"reply\":{\"status\":\"answer\",\"answer\":\" 4 \","
                              "\"explanation\":\"2+2=4 \xe2\x9c\x93\",\"option\":2}}");
  ASSERT_EQ(fake.network.sent.size(), 1u);
  ExpectRequest(fake.network.sent[0], L"POST", "http://127.0.0.1:8765/v1/solve",
                "{\"kind\":\"ask\",\"quality\":\"fast\",\"device_label\":\"DESK-7\",\"text\":\"2+2?\"}",
                "acc-1");
  EXPECT_EQ(reply.status, TutorReply::Answer);
  EXPECT_EQ(reply.text, L" 4 ");
  EXPECT_EQ(reply.explanation, L"2+2=4 \u2713");
  EXPECT_EQ(reply.option, 1);
  EXPECT_FALSE(reply.account.has_value());
  EXPECT_TRUE(logLines.empty());
}

TEST_F(HostedSolveTest, OptionIsTheIntegerPartOfOneToFour) {
  auto optionOf = [this](const std::string& option) {
    return AnswerTo(200, "{\"reply\":{\"status\":\"answer\",\"option\":" + option + "}}").option;
  };
  EXPECT_EQ(optionOf("1"), 0);
  EXPECT_EQ(optionOf("2.7"), 1);
  EXPECT_EQ(optionOf("4"), 3);
  EXPECT_EQ(optionOf("4.5"), -1);
  EXPECT_EQ(optionOf("0.9"), -1);
  EXPECT_EQ(optionOf("5"), -1);
  EXPECT_EQ(optionOf("\"2\""), -1);
  EXPECT_EQ(optionOf("null"), -1);
}

TEST_F(HostedSolveTest, ReplyStatuses) {
  TutorReply bare = AnswerTo(200, "{\"reply\":{\"status\":\"answer\"}}");
  EXPECT_EQ(bare.status, TutorReply::Answer);
  EXPECT_EQ(bare.text, L"");
  EXPECT_EQ(bare.option, -1);

  EXPECT_EQ(AnswerTo(200, "{\"reply\":{\"status\":\"no_question\",\"answer\":\"x\"}}").status,
            TutorReply::NoQuestion);

  TutorReply refused = AnswerTo(200, "{\"reply\":{\"status\":\"refused\",\"answer\":\"Not allowed.\"}}");
  EXPECT_EQ(refused.status, TutorReply::Error);
  EXPECT_EQ(refused.text, L"Not allowed.");
  const std::pair<const char*, const wchar_t*> errors[] = {
      {"{\"status\":\"error\",\"answer\":\"\"}", L"Could not solve this question."},
      {"{\"answer\":\"Try a clearer photo.\"}", L"Try a clearer photo."},
      {"{\"status\":1,\"answer\":\"Try again.\"}", L"Try again."},
      {"{}", L"Could not solve this question."}};
  for (const auto& [reply, message] : errors) {
    TutorReply generic = AnswerTo(200, std::string("{\"reply\":") + reply + "}");
    EXPECT_EQ(generic.status, TutorReply::Error) << reply;
    EXPECT_EQ(generic.text, message) << reply;
  }
  for (const char* body : {"{}", "{\"reply\":\"answer\"}", "not json", ""}) {
    TutorReply unexpected = AnswerTo(200, body);
    EXPECT_EQ(unexpected.status, TutorReply::Error);
    EXPECT_EQ(unexpected.text, L"Unexpected response from Tavisk server.") << body;
  }
  EXPECT_TRUE(logLines.empty());
}

TEST_F(HostedSolveTest, FailureMessagesByStatus) {
  EXPECT_EQ(AnswerTo(429, "").text, L"Too many requests. Wait a moment and try again.");
  EXPECT_EQ(AnswerTo(503, "{\"message\":\"Down for maintenance.\"}").text, L"Down for maintenance.");
  EXPECT_EQ(AnswerTo(503, "{\"message\":\"\"}").text, L"Tavisk service error (HTTP 503). Try again.");
  EXPECT_EQ(AnswerTo(500, "<html>").text, L"Tavisk service error (HTTP 500). Try again.");
  fake.network.Unreachable();
  TutorReply offline = Ask();
  EXPECT_EQ(offline.status, TutorReply::Error);
  EXPECT_EQ(offline.text, L"Couldn't reach Tavisk server. Check your internet connection.");
  EXPECT_EQ(offline.option, -1);
  ASSERT_EQ(logLines.size(), 5u);
  EXPECT_EQ(logLines[0], "[vyk] backend solve failed (HTTP 429)\n");
  EXPECT_EQ(logLines[4], "[vyk] backend solve failed (HTTP 0)\n");
}

TEST_F(HostedSolveTest, A401RefreshesOnceAndRepeatsOnce) {
  ScriptExpiredThenRefreshed();
  fake.network.Reply(200, "{\"reply\":{\"status\":\"no_question\"},\"account\":{\"email\":\"ada@example.org\"}}");
  TutorReply reply = Ask();
  ASSERT_EQ(fake.network.sent.size(), 3u);
  EXPECT_EQ(fake.network.sent[1].url, "http://127.0.0.1:8765/v1/auth/refresh");
  EXPECT_EQ(fake.network.sent[2].url, "http://127.0.0.1:8765/v1/solve");
  EXPECT_EQ(fake.network.sent[2].bearerToken, "acc-2");
  EXPECT_EQ(fake.network.sent[2].body, fake.network.sent[0].body);
  EXPECT_EQ(reply.status, TutorReply::NoQuestion);
  ASSERT_TRUE(reply.account.has_value());
  EXPECT_TRUE(reply.account->signedIn);
  EXPECT_EQ(reply.account->email, L"ada@example.org");
}

TEST_F(HostedSolveTest, ASecond401GivesSessionExpiredWithoutAnotherRefresh) {
  ScriptExpiredThenRefreshed();
  fake.network.Reply(401, "{}");
  TutorReply reply = Ask();
  EXPECT_EQ(fake.network.sent.size(), 3u);
  EXPECT_EQ(reply.text, L"Session expired. Sign in again in Settings \u2192 Account.");
  EXPECT_EQ(fake.store.Read().accessToken, "acc-2");
}

TEST_F(HostedSolveTest, A401WhoseRefreshFailsSignsOutAndKeepsTheFirstReply) {
  fake.network.Reply(401, "{\"message\":\"Your session ended.\",\"account\":{}}");
  fake.network.Reply(401, "");
  TutorReply reply = Ask();
  EXPECT_EQ(fake.network.sent.size(), 2u);
  EXPECT_EQ(reply.text, L"Your session ended.");
  ASSERT_TRUE(reply.account.has_value());
  EXPECT_FALSE(reply.account->signedIn);
  EXPECT_EQ(fake.store.Read(), SessionTokens{});
  EXPECT_TRUE(fake.vault.entries.empty());
}

TEST_F(HostedSolveTest, A401WithoutARefreshTokenIsNotRetried) {
  fake.store.Save(SessionTokens{"acc-1", "", ""});
  TutorReply reply = AnswerTo(401, "");
  EXPECT_EQ(fake.network.sent.size(), 1u);
  EXPECT_EQ(reply.text, L"Session expired. Sign in again in Settings \u2192 Account.");
}

TEST_F(HostedSolveTest, SignedOutSendsNoBearerToken) {
  fake.store.Clear();
  AnswerTo(200, "{\"reply\":{\"status\":\"no_question\"},\"account\":{\"email\":\"\"}}");
  EXPECT_EQ(fake.network.sent[0].bearerToken, "");
  TutorReply reply = AnswerTo(200, "{\"reply\":{\"status\":\"no_question\"},\"account\":{}}");
  ASSERT_TRUE(reply.account.has_value());
  EXPECT_FALSE(reply.account->signedIn);
}

// Every hosted operation, succeeding and failing, with secrets that must never reach the log.
TEST_F(HostedSolveTest, SecretsNeverReachTheLog) {
  const std::string secrets[] = {"SECRET-ACCESS", "SECRET-REFRESH", "SECRET-NEXT", "987654", "sk-SECRETKEY"};
  config.apiKey = "sk-SECRETKEY";
  fake.store.Save(SessionTokens{"SECRET-ACCESS", "SECRET-REFRESH", "ada@example.org"});
  fake.network.Reply(401, "");
  fake.network.Reply(200, "{\"access_token\":\"SECRET-NEXT\",\"refresh_token\":\"SECRET-REFRESH\"}");
  fake.network.Reply(500, "{\"message\":\"SECRET-NEXT\"}");
  Ask();
  fake.network.Reply(401, "");
  fake.network.Reply(401, "");
  Ask();
  fake.network.Reply(400, "");
  VerifyCode(config, context, L"ada@example.org", L"987654");
  fake.network.Reply(200, "{\"access_token\":\"SECRET-ACCESS\",\"refresh_token\":\"SECRET-REFRESH\"}");
  VerifyCode(config, context, L"ada@example.org", L"987654");
  fake.network.Reply(401, "");
  fake.network.Unreachable();
  ProbeAccount(config, context);
  ASSERT_FALSE(logLines.empty());
  for (const std::string& line : logLines) {
    for (const std::string& secret : secrets) EXPECT_EQ(line.find(secret), std::string::npos) << line;
  }
}
