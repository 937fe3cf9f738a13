// The streamed read of the WinHTTP client against the local stand-in: pieces arrive while the
// server is still writing, a stall ends by the program's own clock without holding the client, and
// the body limit holds over the whole stream.
#include "net/http_client_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/tests/standin_client.h"

namespace {

// Content whose events the stand-in writes in 3-byte pieces: they split lines, escapes and UTF-8.
const std::string kContent = "{\"answer\":\"\xCF\x80 r\xC2\xB2 \\\\frac\",\"explanation\":\"tab\\there \xF0\x9F\x98\x80\"}";

class HttpStream : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(standin::Port(), 0) << "VYK_STANDIN_STATE does not name a running stand-in";
    standin::Reset();
    ResetHttpConnection();
  }

  HttpResult Stream(int stallTimeoutMs = kHttpReceiveTimeoutMs, const std::string& path = "/v1/chat/completions") {
    return HttpStreamRequest(L"POST", standin::Url() + path, "{\"stream\":true}", "key", "",
                             [this](int status, std::string_view piece) {
                               statuses.push_back(status);
                               pieces.emplace_back(piece);
                               if (pieces.size() == 1) requestsAtFirstPiece = standin::Requests();
                             },
                             stallTimeoutMs);
  }

  std::string Joined() const {
    std::string joined;
    for (const std::string& piece : pieces) joined += piece;
    return joined;
  }

  std::vector<int> statuses;
  std::vector<std::string> pieces;
  std::vector<standin::Request> requestsAtFirstPiece;
};

TEST_F(HttpStream, HandsOverPiecesWhileTheServerIsStillWriting) {
  standin::Add(standin::Stream(kContent, "\"chunk_bytes\":3,\"keepalive_every\":2,"
                                         "\"stall_after_tokens\":3,\"stall_ms\":1000"));
  const HttpResult result = Stream();
  EXPECT_EQ(result.status, 200);
  EXPECT_EQ(result.error, "");
  EXPECT_EQ(Joined(), result.body);
  EXPECT_GT(pieces.size(), 3u);
  EXPECT_EQ(statuses.front(), 200);
  // The first piece was handed over before the stand-in had finished the answer.
  ASSERT_EQ(requestsAtFirstPiece.size(), 1u);
  EXPECT_EQ(requestsAtFirstPiece[0].answeredMs, -1);
  EXPECT_NE(result.body.find("data: [DONE]"), std::string::npos);
  EXPECT_NE(result.body.find(": keep-alive"), std::string::npos);
  // The stand-in's request saw the body unchanged, and the bearer token.
  const auto requests = standin::Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].body, "{\"stream\":true}");
  ASSERT_NE(requests[0].Header("Authorization"), nullptr);
}

TEST_F(HttpStream, AStallEndsByTheProgramsOwnClockAndFreesTheClient) {
  standin::Add(standin::Stream(kContent, "\"stall_after_tokens\":2,\"stall_ms\":60000"));
  const HttpResult stalled = Stream(1000);
  EXPECT_EQ(stalled.status, 200);
  EXPECT_EQ(stalled.error, "response stalled");
  EXPECT_EQ(Joined(), stalled.body);
  EXPECT_NE(stalled.body.find("\"content\": \"{\\\"an\""), std::string::npos) << stalled.body;
  // Every event written before the stall was handed over, the last one bar at most its final
  // byte: a read never waits for the next chunk to begin before it hands over what it holds.
  EXPECT_NE(stalled.body.find("\"content\": \"swer\""), std::string::npos) << stalled.body;
  // The next request goes through at once, while the stand-in still sits in its stall.
  const HttpResult next = HttpRequest(L"GET", standin::Url() + "/v1/me", "", "", "");
  EXPECT_EQ(next.status, 200);
  EXPECT_EQ(next.error, "");
  const auto requests = standin::Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].answeredMs, -1);
}

TEST_F(HttpStream, ADroppedConnectionKeepsWhatArrived) {
  standin::Add(standin::Stream(kContent, "\"drop_after_tokens\":3"));
  const HttpResult dropped = Stream();
  EXPECT_EQ(dropped.status, 200);
  EXPECT_EQ(Joined(), dropped.body);
  EXPECT_NE(dropped.body.find("\"content\": \"{\\\"an\""), std::string::npos);
  EXPECT_EQ(dropped.body.find("[DONE]"), std::string::npos);
  // The client is fine afterwards.
  EXPECT_EQ(HttpRequest(L"GET", standin::Url() + "/v1/me", "", "", "").status, 200);
}

TEST_F(HttpStream, ErrorStatusesAndTheBodyLimitHoldAsForAWholeBody) {
  standin::Add(standin::Reply("*", 400, "{\"error\":{\"message\":\"stream is not supported\"}}"));
  const HttpResult refused = Stream();
  EXPECT_EQ(refused.status, 400);
  EXPECT_EQ(refused.error, "");
  EXPECT_EQ(Joined(), refused.body);
  EXPECT_EQ(statuses.back(), 400);

  pieces.clear();
  standin::Add(standin::Huge("*", static_cast<long long>(kMaxHttpBodyBytes) + 1024 * 1024));
  const HttpResult huge = Stream();
  EXPECT_EQ(huge.status, 200);
  EXPECT_EQ(huge.error, "");
  EXPECT_EQ(huge.body.size(), kMaxHttpBodyBytes);
  EXPECT_EQ(Joined().size(), kMaxHttpBodyBytes);
  EXPECT_EQ(HttpRequest(L"GET", standin::Url() + "/v1/me", "", "", "").status, 200);
}

TEST_F(HttpStream, AServerThatNeverAnswersEndsAsNoResponse) {
  standin::Script silent = standin::Reply("*", 200, "{}");
  silent.delayMs = 60000;
  standin::Add(silent);
  const HttpResult result = Stream(1000);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.error, "response stalled");
  EXPECT_TRUE(pieces.empty());
}

}  // namespace
