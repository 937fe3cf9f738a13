// Streamed answers end to end under Wine: the real WinHTTP client against the stand-in's event
// streams, cut into pieces that split lines, UTF-8 sequences and escapes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/log.h"
#include "net/http_client_win.h"
#include "net/tests/standin_client.h"
#include "tutor/reply_parse.h"
#include "tutor/solve_query.h"

namespace {

const std::string kContent =
    "```json\n{\"answer\":\"$\\\\frac{\xCF\x80}{2}$ \\u00e9\\ud83d\\ude00\",\"explanation\":\"Halve \\\"it\\\": "
    "\xE4\xB8\xAD\\n done\",\"option\":2}\n```";

class StreamedSolve : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(standin::Port(), 0) << "VYK_STANDIN_STATE does not name a running stand-in";
    standin::Reset();
    ResetHttpConnection();
    SetLogSink([](const std::string&) {});
    config.hosted = false;
    config.baseUrl = standin::Url() + "/v1";
    config.apiKey = "stand-in-key";
    // Each test its own model: refusals are remembered per endpoint and model for the process.
    config.model = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  }
  void TearDown() override { SetLogSink(nullptr); }

  TutorReply Solve() {
    return SolveQuery(config, QueryKind::Ask, QueryQuality::Fast, L"q", [this](std::string_view text, bool cut) {
      texts.emplace_back(text);
      cutOff = cutOff || cut;
    });
  }

  static bool AskedToStream(const standin::Request& request) {
    return request.body.find(",\"stream\":true,") != std::string::npos;
  }

  TutorConfig config;
  std::vector<std::string> texts;
  bool cutOff = false;
};

TEST_F(StreamedSolve, AnyCutOfTheStreamEndsAsTheWholeReply) {
  const TutorReply expected = ParseTutorReply(kContent, QueryKind::Ask);
  ASSERT_EQ(expected.status, TutorReply::Answer);
  for (int chunk : {1, 2, 5}) {
    standin::Add(standin::Stream(kContent, "\"token_chars\":3,\"keepalive_every\":3,\"chunk_bytes\":" +
                                               std::to_string(chunk)));
    texts.clear();
    const TutorReply reply = Solve();
    EXPECT_EQ(reply.status, expected.status);
    EXPECT_EQ(reply.text, expected.text);
    EXPECT_EQ(reply.explanation, expected.explanation);
    EXPECT_EQ(reply.option, expected.option);
    EXPECT_GT(texts.size(), 1u);
    EXPECT_EQ(texts.empty() ? "" : texts.back(), kContent);
    EXPECT_FALSE(cutOff);
  }
  const auto requests = standin::Requests();
  ASSERT_EQ(requests.size(), 3u);
  for (const standin::Request& request : requests) EXPECT_TRUE(AskedToStream(request));
}

TEST_F(StreamedSolve, AFailurePartWayKeepsTheTextMarkedCutOff) {
  for (const char* failure : {"\"error_after_tokens\":4", "\"drop_after_tokens\":4"}) {
    standin::Add(standin::Stream(kContent, failure));
    texts.clear();
    cutOff = false;
    const TutorReply reply = Solve();
    EXPECT_EQ(reply.status, TutorReply::Error);
    EXPECT_EQ(reply.text, L"The tutor service didn't return readable text. Try again.");
    EXPECT_TRUE(cutOff) << failure;
    EXPECT_EQ(texts.empty() ? "" : texts.back(), kContent.substr(0, 16)) << failure;
  }
}

TEST_F(StreamedSolve, ARefusedStreamIsAskedOnceMoreAndRemembered) {
  standin::Add(standin::Stream(kContent, "\"refuse\":\"error\""));
  EXPECT_EQ(Solve().text, L"$x = 4$");  // the stand-in's plain answer
  EXPECT_EQ(Solve().text, L"$x = 4$");
  const auto requests = standin::Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_TRUE(AskedToStream(requests[0]));
  EXPECT_FALSE(AskedToStream(requests[1]));
  EXPECT_FALSE(AskedToStream(requests[2]));
}

TEST_F(StreamedSolve, APlainAnswerToAStreamedRequestIsTaken) {
  standin::Add(standin::Stream(kContent, "\"refuse\":\"plain\""));
  const TutorReply reply = Solve();
  EXPECT_EQ(reply.text, ParseTutorReply(kContent, QueryKind::Ask).text);
  EXPECT_TRUE(texts.empty());
  EXPECT_EQ(standin::Requests().size(), 1u);
}

}  // namespace
