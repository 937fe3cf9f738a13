// Queries end to end under Wine: the real capture, encoder and WinHTTP client against the local
// stand-in, which records the exact request it received.
#include "tutor/solve_query.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/log.h"
#include "tutor/chat_request.h"
#include "net/http_client_win.h"
#include "net/json.h"
#include "net/tests/standin_client.h"

namespace {

constexpr char kChatPath[] = "/v1/chat/completions";
constexpr char kChatReply[] =
    R"({"choices":[{"message":{"role":"assistant","content":"```json\n{\"answer\":\"4\",\"explanation\":\"2+2=4\",\"option\":2}\n```"}}]})";

struct JpegSize {
  int width = 0;
  int height = 0;
};

// The frame size from the first start-of-frame marker of a JPEG stream.
JpegSize ReadJpegSize(const std::string& jpeg) {
  for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
    const unsigned char marker = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
      auto byte = [&](size_t k) { return static_cast<unsigned char>(jpeg[i + k]); };
      return {byte(7) << 8 | byte(8), byte(5) << 8 | byte(6)};
    }
  }
  return {};
}

std::string UserImageUrl(const std::string& body) {
  const JsonValue request = JsonParse(body);
  const JsonValue* messages = JsonFind(request, "messages");
  if (!messages || messages->items.size() != 2) return "";
  const JsonValue* content = JsonFind(messages->items[1], "content");
  if (!content || content->items.size() != 2) return "";
  const JsonValue* imageUrl = JsonFind(content->items[1], "image_url");
  const JsonValue* url = imageUrl ? JsonFind(*imageUrl, "url") : nullptr;
  return url ? url->string : "";
}

bool HasDisplay() {
  const char* display = std::getenv("DISPLAY");
  return display && *display;
}

class SolveQueryEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(standin::Port(), 0) << "VYK_STANDIN_STATE does not name a running stand-in";
    standin::Reset();
    ResetHttpConnection();
    config.hosted = false;
    config.baseUrl = standin::Url() + "/v1/";
    config.model = "gpt-4o-mini";
    config.apiKey = "sk-wine-secret";
    SetLogSink([this](const std::string& line) { logs.push_back(line); });
  }
  void TearDown() override {
    SetLogSink(nullptr);
    for (const std::string& line : logs) EXPECT_EQ(line.find("sk-wine-secret"), std::string::npos) << line;
  }

  TutorConfig config;
  std::vector<std::string> logs;
};

TEST_F(SolveQueryEndToEnd, AskReachesTheEndpointWithTheExactBodyAndKey) {
  standin::Add(standin::Reply(kChatPath, 200, kChatReply));
  const TutorReply reply = SolveQuery(config, QueryKind::Ask, QueryQuality::Fast, L"What is 2+2? \u00BD");

  EXPECT_EQ(reply.status, TutorReply::Answer);
  EXPECT_EQ(reply.text, L"4");
  EXPECT_EQ(reply.explanation, L"2+2=4");
  EXPECT_EQ(reply.option, 1);
  const std::vector<standin::Request> requests = standin::Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].path, kChatPath);
  ASSERT_NE(requests[0].Header("Authorization"), nullptr);
  EXPECT_EQ(*requests[0].Header("Authorization"), "Bearer sk-wine-secret");
  EXPECT_EQ(requests[0].Header("X-Device-Hash"), nullptr);
  EXPECT_EQ(requests[0].body,
            BuildChatRequest(config, QueryQuality::Fast, "Question:\nWhat is 2+2? \xC2\xBD", "", true));
  EXPECT_EQ(logs, std::vector<std::string>{"[vyk] local fast -> gpt-4o-mini\n"});
}

TEST_F(SolveQueryEndToEnd, RefusedFieldsAreRetriedOverTheWire) {
  config.deepModel = "o4-mini";
  config.deepReasoningEffort = "medium";
  standin::Add(standin::Reply(kChatPath, 400, R"({"error":{"message":"Unsupported parameter: 'max_tokens'"}})"));
  standin::Add(standin::Reply(kChatPath, 400, R"({"error":{"message":"Unsupported value: 'temperature'"}})"));
  standin::Add(standin::Reply(kChatPath, 200, kChatReply));
  const TutorReply reply = SolveQuery(config, QueryKind::Ask, QueryQuality::Deep, L"q");

  EXPECT_EQ(reply.status, TutorReply::Answer);
  const std::vector<standin::Request> requests = standin::Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].body, BuildChatRequest(config, QueryQuality::Deep, "Question:\nq", "", true));
  EXPECT_EQ(requests[1].body, BuildChatRequest(config, QueryQuality::Deep, "Question:\nq", "", true,
                                               ChatTokenLimitField::MaxCompletionTokens));
  EXPECT_EQ(requests[2].body, BuildChatRequest(config, QueryQuality::Deep, "Question:\nq", "", false,
                                               ChatTokenLimitField::MaxCompletionTokens));
  EXPECT_EQ(logs, std::vector<std::string>{"[vyk] local deep -> o4-mini effort=medium\n"});
}

TEST_F(SolveQueryEndToEnd, ASecondQueryToARefusingModelIsSentOnceInTheAcceptedShape) {
  config.model = "o3-mini-remembered";  // refusals are remembered per process: a model no other test uses
  standin::Add(standin::Reply(kChatPath, 400, R"({"error":{"message":"Unsupported parameter: 'max_tokens'"}})"));
  standin::Add(standin::Reply(kChatPath, 400, R"({"error":{"message":"Unsupported value: 'temperature'"}})"));
  standin::Add(standin::Reply(kChatPath, 200, kChatReply));
  EXPECT_EQ(SolveQuery(config, QueryKind::Ask, QueryQuality::Fast, L"q").status, TutorReply::Answer);
  EXPECT_EQ(standin::Requests().size(), 3u);

  standin::Reset();
  standin::Add(standin::Reply(kChatPath, 200, kChatReply));
  EXPECT_EQ(SolveQuery(config, QueryKind::Ask, QueryQuality::Fast, L"q").status, TutorReply::Answer);
  const std::vector<standin::Request> requests = standin::Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].body, BuildChatRequest(config, QueryQuality::Fast, "Question:\nq", "", false,
                                               ChatTokenLimitField::MaxCompletionTokens));
}

TEST_F(SolveQueryEndToEnd, ClosedPortAndRejectionEndInTheirSentences) {
  standin::Add(standin::Reply(kChatPath, 401, R"({"error":{"message":"bad key"}})"));
  EXPECT_EQ(SolveQuery(config, QueryKind::Ask, QueryQuality::Fast, L"q").text,
            L"Access denied. Check the API key in your configuration.");
  config.baseUrl = "http://127.0.0.1:1/v1";
  EXPECT_EQ(SolveQuery(config, QueryKind::Ask, QueryQuality::Fast, L"q").text,
            L"Couldn't reach the tutor service. Check your connection and base_url.");
  EXPECT_EQ(logs.back(), "[vyk] request failed (HTTP 0)\n");
}

TEST_F(SolveQueryEndToEnd, HostedModeSendsTheRawQuestionToTheSolveEndpoint) {
  config.hosted = true;
  config.backendUrl = standin::Url() + "/";
  standin::Add(standin::Reply("/v1/solve", 200,
                              R"({"reply":{"status":"answer","answer":"4","explanation":"sum","option":3}})"));
  const TutorReply reply = SolveQuery(config, QueryKind::Ask, QueryQuality::Deep, L"what is 2+2");

  EXPECT_EQ(reply.status, TutorReply::Answer);
  EXPECT_EQ(reply.text, L"4");
  EXPECT_EQ(reply.option, 2);
  const std::vector<standin::Request> requests = standin::Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].path, "/v1/solve");
  const JsonValue body = JsonParse(requests[0].body);
  EXPECT_EQ(standin::StringMember(body, "kind"), "ask");
  EXPECT_EQ(standin::StringMember(body, "quality"), "deep");
  EXPECT_EQ(standin::StringMember(body, "text"), "what is 2+2");
  EXPECT_EQ(JsonFind(body, "image_b64"), nullptr);
  EXPECT_EQ(requests[0].body.find("sk-wine-secret"), std::string::npos);
  for (const std::string& line : logs) EXPECT_EQ(line.find("[vyk] local"), std::string::npos);
}

TEST_F(SolveQueryEndToEnd, VisionScanSendsAJpegOfTheScreenAtMost1440Wide) {
  if (!HasDisplay()) GTEST_SKIP() << "needs an X display";
  standin::Add(standin::Reply(kChatPath, 200, kChatReply));
  const TutorReply reply = SolveQuery(config, QueryKind::VisionScan, QueryQuality::Fast, L"");
  ASSERT_EQ(reply.status, TutorReply::Answer) << std::string(reply.text.begin(), reply.text.end());

  const std::vector<standin::Request> requests = standin::Requests();
  ASSERT_EQ(requests.size(), 1u);
  const std::string url = UserImageUrl(requests[0].body);
  const std::string prefix = "data:image/jpeg;base64,";
  ASSERT_EQ(url.substr(0, prefix.size()), prefix);
  EXPECT_EQ(requests[0].body, BuildChatRequest(config, QueryQuality::Fast,
                                               "Solve only the topmost question shown on this screen.", url, true));

  const std::string jpeg = standin::Base64Decode(url.substr(prefix.size()));
  ASSERT_GE(jpeg.size(), 4u);
  EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");
  const JpegSize size = ReadJpegSize(jpeg);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (screenWidth == 1920 && screenHeight == 1080) {
    EXPECT_EQ(size.width, 1440);
    EXPECT_EQ(size.height, 810);
  }
  ASSERT_FALSE(logs.empty());
  char expected[96];
  snprintf(expected, sizeof expected, "[vyk] vision-scanned %dx%d (%zu KB base64)\n", size.width, size.height,
           url.size() / 1024);
  EXPECT_EQ(logs[0], expected);
}

TEST_F(SolveQueryEndToEnd, OcrScanWithoutAnEngineEndsBeforeTheNetwork) {
  if (!HasDisplay()) GTEST_SKIP() << "needs an X display";
  const TutorReply reply = SolveQuery(config, QueryKind::Scan, QueryQuality::Fast, L"");
  EXPECT_EQ(reply.status, TutorReply::Error);
  EXPECT_EQ(reply.text, L"Couldn't read the screen. Check your Windows OCR language or use Ask.");
  EXPECT_TRUE(standin::Requests().empty());
  // The engine's failure is logged with its code.
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(logs[0].rfind("[vyk] screen text not read: ", 0), 0u) << logs[0];
  EXPECT_NE(logs[0].find("(0x"), std::string::npos) << logs[0];
  // The hands-free check on the same screen finds no question.
  EXPECT_EQ(SolveQuery(config, QueryKind::QuestionCheck, QueryQuality::Fast, L"").status, TutorReply::NoQuestion);
}

}  // namespace
