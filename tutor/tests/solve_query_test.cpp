#include "tutor/solve_query.h"

#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>
#include <vector>

#include "core/log.h"
#include "tutor/chat_request.h"
#include "tutor/chat_shapes.h"
#include "tutor/tests/local_chat_config.h"

namespace {

constexpr const char* kChatOk =
    R"({"choices":[{"message":{"content":"{\"answer\":\"B) 4\",\"explanation\":\"2+2\",\"option\":2}"}}]})";

struct SentRequest {
  std::string url, body, bearer, deviceHash;
};

struct HostedCall {
  QueryKind kind;
  QueryQuality quality;
  std::string text, image;
};

ScreenImage SolidImage(int width, int height) {
  ScreenImage image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * height * 4, 0x80);
  return image;
}

// A scripted platform that records every call the pipeline makes.
struct FakePlatform {
  ScreenImage screen = SolidImage(1920, 1080);
  std::wstring ocrText = L"Which is larger? A) 3 B) 4";
  bool ocrThrows = false;
  std::string dataUrl = "data:image/jpeg;base64,/9j/4AAQ";
  bool encodeThrows = false;
  bool question = true;
  std::deque<HttpResult> replies;  // one per request; an empty script answers kChatOk
  TutorReply hostedReply;

  std::vector<int> screenSides;
  std::vector<std::vector<int>> rects;
  std::vector<std::wstring> checkedTexts;
  int ocrCalls = 0, encodeCalls = 0;
  std::vector<SentRequest> requests;
  std::vector<HostedCall> hostedCalls;

  QueryPlatform Bind() {
    QueryPlatform p;
    p.captureScreen = [this](int maxSide) {
      screenSides.push_back(maxSide);
      return screen;
    };
    p.captureRect = [this](int l, int t, int w, int h, int maxSide) {
      rects.push_back({l, t, w, h, maxSide});
      return screen;
    };
    p.recognizeText = [this](const ScreenImage&) {
      ++ocrCalls;
      if (ocrThrows) throw std::runtime_error("no OCR language installed");
      return ocrText;
    };
    p.encodeImage = [this](ScreenImage&) {
      ++encodeCalls;
      if (encodeThrows) throw std::runtime_error("encoder failed");
      return dataUrl;
    };
    p.looksLikeQuestion = [this](const std::wstring& text) {
      checkedTexts.push_back(text);
      return question;
    };
    p.http = [this](const std::wstring& method, const std::string& url, const std::string& body,
                    const std::string& bearer, const std::string& hash) {
      EXPECT_EQ(method, L"POST");
      requests.push_back({url, body, bearer, hash});
      if (replies.empty()) return HttpResult{200, kChatOk, ""};
      HttpResult next = replies.front();
      replies.pop_front();
      return next;
    };
    p.hostedSolve = [this](QueryKind kind, QueryQuality quality, const std::string& text, const std::string& image) {
      hostedCalls.push_back({kind, quality, text, image});
      return hostedReply;
    };
    return p;
  }
};

class SolveQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLogSink([this](const std::string& line) { logs.push_back(line); });
  }
  void TearDown() override {
    SetLogSink(nullptr);
    for (const std::string& line : logs) EXPECT_EQ(line.find(config.apiKey), std::string::npos) << line;
  }

  TutorReply Solve(QueryKind kind, const std::wstring& text = L"", QueryQuality quality = QueryQuality::Fast) {
    return SolveQueryWith(config, platform.Bind(), kind, quality, text);
  }

  void ExpectError(const TutorReply& reply, const std::wstring& message) {
    EXPECT_EQ(reply.status, TutorReply::Error);
    EXPECT_EQ(reply.text, message);
    EXPECT_EQ(reply.option, -1);
  }

  void ExpectNoNetwork() {
    EXPECT_TRUE(platform.requests.empty());
    EXPECT_TRUE(platform.hostedCalls.empty());
  }

  TutorConfig config = LocalChatConfig();
  FakePlatform platform;
  std::vector<std::string> logs;
};

// ---- Scan ---------------------------------------------------------------------------------------

TEST_F(SolveQueryTest, ScanSendsTheOcrTextWithItsPrefixAndParsesTheReply) {
  const TutorReply reply = Solve(QueryKind::Scan);
  EXPECT_EQ(reply.status, TutorReply::Answer);
  EXPECT_EQ(reply.text, L"B) 4");
  EXPECT_EQ(reply.explanation, L"2+2");
  EXPECT_EQ(reply.option, 1);
  EXPECT_EQ(platform.screenSides, std::vector<int>{0});
  ASSERT_EQ(platform.requests.size(), 1u);
  EXPECT_EQ(platform.requests[0].url, "http://127.0.0.1:9/v1/chat/completions");
  EXPECT_EQ(platform.requests[0].bearer, "sk-secret-key-123");
  EXPECT_EQ(platform.requests[0].deviceHash, "");
  EXPECT_EQ(platform.requests[0].body,
            BuildChatRequest(config, QueryQuality::Fast, "Screen text (OCR):\nWhich is larger? A) 3 B) 4", "", true));
  EXPECT_EQ(logs, (std::vector<std::string>{"[vyk] scanned 26 characters\n", "[vyk] local fast -> gpt-4o-mini\n"}));
}

TEST_F(SolveQueryTest, ScanFailuresBeforeTheNetwork) {
  platform.screen = ScreenImage();
  ExpectError(Solve(QueryKind::Scan), L"Couldn't capture the screen. Try scanning again.");
  EXPECT_EQ(platform.ocrCalls, 0);

  platform.screen = SolidImage(4, 4);
  platform.ocrThrows = true;
  ExpectError(Solve(QueryKind::Scan), L"Couldn't read the screen. Check your Windows OCR language or use Ask.");
  EXPECT_EQ(logs, std::vector<std::string>{"[vyk] screen text not read: no OCR language installed\n"});
  logs.clear();

  platform.ocrThrows = false;
  platform.ocrText = L" \r\n\t \n";
  const TutorReply blank = Solve(QueryKind::Scan);
  EXPECT_EQ(blank.status, TutorReply::NoQuestion);
  EXPECT_EQ(blank.text, L"");
  ExpectNoNetwork();
  EXPECT_TRUE(logs.empty());
}

TEST_F(SolveQueryTest, ScanTextIsCutAtThreeThousandUtf16UnitsWithoutSplittingAPair) {
  config.hosted = true;  // the hosted service gets the raw text, which makes the cut easy to read
  const std::wstring face = L"\U0001F600";  // two UTF-16 units; "\xF0\x9F\x98\x80" in UTF-8
  struct Case {
    std::wstring text;
    std::string sent;
    const char* log;
  } cases[] = {
      {std::wstring(3000, L'a'), std::string(3000, 'a'), "[vyk] scanned 3000 characters\n"},
      {std::wstring(3001, L'a'), std::string(3000, 'a'), "[vyk] scanned 3000 characters\n"},
      {std::wstring(2999, L'a') + face, std::string(2999, 'a'), "[vyk] scanned 2999 characters\n"},
      {std::wstring(2998, L'a') + face + L"b", std::string(2998, 'a') + "\xF0\x9F\x98\x80",
       "[vyk] scanned 3000 characters\n"},
      {std::wstring(2998, L'a') + face, std::string(2998, 'a') + "\xF0\x9F\x98\x80", "[vyk] scanned 3000 characters\n"},
  };
  for (const Case& c : cases) {
    platform.ocrText = c.text;
    platform.hostedCalls.clear();
    logs.clear();
    Solve(QueryKind::Scan);
    ASSERT_EQ(platform.hostedCalls.size(), 1u);
    EXPECT_EQ(platform.hostedCalls[0].text, c.sent) << c.log;
    EXPECT_EQ(logs, std::vector<std::string>{c.log});
  }
}

// ---- VisionScan and Snip ------------------------------------------------------------------------

TEST_F(SolveQueryTest, VisionScanSendsTheImageWithItsPrompt) {
  platform.screen = SolidImage(1440, 810);
  platform.dataUrl = "data:image/jpeg;base64," + std::string(3000, 'A');
  const TutorReply reply = Solve(QueryKind::VisionScan);
  EXPECT_EQ(reply.status, TutorReply::Answer);
  EXPECT_EQ(platform.screenSides, std::vector<int>{1440});
  EXPECT_EQ(platform.ocrCalls, 0);
  ASSERT_EQ(platform.requests.size(), 1u);
  EXPECT_EQ(platform.requests[0].body, BuildChatRequest(config, QueryQuality::Fast,
                                                        "Solve only the topmost question shown on this screen.",
                                                        platform.dataUrl, true));
  EXPECT_EQ(logs[0], "[vyk] vision-scanned 1440x810 (2 KB base64)\n");
}

TEST_F(SolveQueryTest, VisionScanFailures) {
  platform.screen = ScreenImage();
  ExpectError(Solve(QueryKind::VisionScan), L"Couldn't capture the screen. Try scanning again.");
  platform.screen = SolidImage(8, 8);
  platform.dataUrl.clear();
  ExpectError(Solve(QueryKind::VisionScan), L"Couldn't encode the screen image. Try again.");
  platform.encodeThrows = true;
  ExpectError(Solve(QueryKind::VisionScan), L"Couldn't encode the screen image. Try again.");
  EXPECT_EQ(logs, std::vector<std::string>{"[vyk] image not encoded: encoder failed\n"});
  ExpectNoNetwork();
}

TEST_F(SolveQueryTest, SnipCapturesTheParsedRectangleAtMost1280) {
  platform.screen = SolidImage(300, 200);
  const TutorReply reply = Solve(QueryKind::Snip, L" -100,+20,\t200,220 trailing text is ignored");
  EXPECT_EQ(reply.status, TutorReply::Answer);
  EXPECT_EQ(platform.rects, (std::vector<std::vector<int>>{{-100, 20, 300, 200, 1280}}));
  ASSERT_EQ(platform.requests.size(), 1u);
  EXPECT_EQ(platform.requests[0].body, BuildChatRequest(config, QueryQuality::Fast,
                                                        "Solve the question shown in this screen snip.",
                                                        platform.dataUrl, true));
  EXPECT_EQ(logs[0], "[vyk] snipped 300x200 (0 KB base64)\n");
}

TEST_F(SolveQueryTest, SnipFailures) {
  for (const wchar_t* bad : {L"", L"10,10,10,50", L"10,50,20,50", L"30,0,20,10", L"1,2,3", L"a,b,c,d",
                             L"1 ,2,3,4", L"1,2,,4", L"-,0,5,5", L"-2147483648,0,2147483647,10", L"0,0,2147483648,5"}) {
    ExpectError(Solve(QueryKind::Snip, bad), L"Invalid snip region. Try snipping again.");
  }
  EXPECT_TRUE(platform.rects.empty());

  platform.screen = ScreenImage();
  ExpectError(Solve(QueryKind::Snip, L"0,0,10,10"), L"Couldn't capture the snipped area. Try again.");
  platform.screen = SolidImage(10, 10);
  platform.dataUrl.clear();
  ExpectError(Solve(QueryKind::Snip, L"0,0,10,10"), L"Couldn't encode the snipped image. Try again.");
  platform.encodeThrows = true;
  ExpectError(Solve(QueryKind::Snip, L"0,0,10,10"), L"Couldn't encode the snipped image. Try again.");
  ExpectNoNetwork();
}

// ---- Ask, routing and quality -------------------------------------------------------------------

TEST_F(SolveQueryTest, AskSendsTheTypedQuestionAsUtf8) {
  Solve(QueryKind::Ask, L"\u222B x dx = ?");
  ASSERT_EQ(platform.requests.size(), 1u);
  EXPECT_EQ(platform.requests[0].body,
            BuildChatRequest(config, QueryQuality::Fast, "Question:\n\xE2\x88\xAB x dx = ?", "", true));
  EXPECT_TRUE(platform.screenSides.empty());
}

TEST_F(SolveQueryTest, HostedModeGetsRawTextOrImageAndItsReplyAsItIs) {
  config.hosted = true;
  platform.hostedReply.status = TutorReply::Answer;
  platform.hostedReply.text = L"hosted";
  platform.hostedReply.account = AccountInfo{true, true, L"a@b.c", L""};

  const TutorReply reply = Solve(QueryKind::Ask, L"what is 2+2", QueryQuality::Deep);
  EXPECT_EQ(reply.text, L"hosted");
  EXPECT_TRUE(reply.account.has_value());
  Solve(QueryKind::Scan);
  Solve(QueryKind::VisionScan);
  Solve(QueryKind::Snip, L"0,0,5,5");

  ASSERT_EQ(platform.hostedCalls.size(), 4u);
  EXPECT_EQ(platform.hostedCalls[0].kind, QueryKind::Ask);
  EXPECT_EQ(platform.hostedCalls[0].quality, QueryQuality::Deep);
  EXPECT_EQ(platform.hostedCalls[0].text, "what is 2+2");
  EXPECT_EQ(platform.hostedCalls[0].image, "");
  EXPECT_EQ(platform.hostedCalls[1].text, "Which is larger? A) 3 B) 4");
  EXPECT_EQ(platform.hostedCalls[1].image, "");
  for (int i : {2, 3}) {
    EXPECT_EQ(platform.hostedCalls[i].text, "");
    EXPECT_EQ(platform.hostedCalls[i].image, platform.dataUrl);
  }
  EXPECT_EQ(platform.hostedCalls[3].kind, QueryKind::Snip);
  EXPECT_TRUE(platform.requests.empty());
  for (const std::string& line : logs) EXPECT_EQ(line.find("[vyk] local"), std::string::npos);
}

TEST_F(SolveQueryTest, DeepQualityUsesDeepSettingsOnlyWhenConfigured) {
  Solve(QueryKind::Ask, L"q", QueryQuality::Deep);
  EXPECT_EQ(logs.back(), "[vyk] local deep -> gpt-4o-mini\n");

  config.reasoningEffort = "low";
  config.deepModel = "o4-mini";
  config.deepReasoningEffort = "high";
  Solve(QueryKind::Ask, L"q", QueryQuality::Deep);
  EXPECT_EQ(logs.back(), "[vyk] local deep -> o4-mini effort=high\n");
  EXPECT_EQ(platform.requests.back().body.substr(0, 19), "{\"model\":\"o4-mini\",");
  Solve(QueryKind::Ask, L"q", QueryQuality::Fast);
  EXPECT_EQ(logs.back(), "[vyk] local fast -> gpt-4o-mini effort=low\n");
}

// ---- QuestionCheck ------------------------------------------------------------------------------

TEST_F(SolveQueryTest, QuestionCheckNeverContactsATutor) {
  EXPECT_EQ(Solve(QueryKind::QuestionCheck).status, TutorReply::Answer);
  EXPECT_EQ(platform.screenSides, std::vector<int>{0});
  platform.question = false;
  EXPECT_EQ(Solve(QueryKind::QuestionCheck).status, TutorReply::NoQuestion);
  platform.question = true;
  platform.ocrThrows = true;
  EXPECT_EQ(Solve(QueryKind::QuestionCheck).status, TutorReply::NoQuestion);
  EXPECT_EQ(logs, std::vector<std::string>{"[vyk] question check failed: no OCR language installed\n"});
  logs.clear();
  platform.ocrThrows = false;
  platform.screen = ScreenImage();
  EXPECT_EQ(Solve(QueryKind::QuestionCheck).status, TutorReply::NoQuestion);
  EXPECT_EQ(platform.ocrCalls, 3);
  config.hosted = true;
  platform.screen = SolidImage(2, 2);
  EXPECT_EQ(Solve(QueryKind::QuestionCheck).status, TutorReply::Answer);
  ExpectNoNetwork();
  EXPECT_TRUE(logs.empty());
}

TEST_F(SolveQueryTest, QuestionCheckLooksAtTheWholeRecognisedTextUncut) {
  platform.ocrText = std::wstring(3500, L'x') + L"\nA) one\nB) two";
  Solve(QueryKind::QuestionCheck);
  EXPECT_EQ(platform.checkedTexts, std::vector<std::wstring>{platform.ocrText});
  EXPECT_TRUE(logs.empty());  // the scan's cut and its log line belong to Scan only
}

// ---- Local request outcomes and retries ---------------------------------------------------------

// Each refused field is given up once, one per reply or both from one reply; anything but a
// completed 400 naming a field that is still sent ends the retries.
TEST_F(SolveQueryTest, RefusedFieldsAreRetriedOnceEach) {
  using Field = ChatTokenLimitField;
  struct Attempt {
    bool temperature;
    Field field;
  };
  const std::string maxTokens = R"({"error":{"message":"Unsupported parameter: 'max_tokens' is not supported )"
                                R"(with this model. Use 'max_completion_tokens' instead."}})";
  const std::string temperature = R"({"error":{"message":"Unsupported value: 'temperature' does not support 0"}})";
  struct Case {
    std::deque<HttpResult> replies;
    std::vector<Attempt> attempts;
    TutorReply::Status status;
  } cases[] = {
      {{{400, temperature, ""}}, {{true, Field::MaxTokens}, {false, Field::MaxTokens}}, TutorReply::Answer},
      {{{400, maxTokens, ""}}, {{true, Field::MaxTokens}, {true, Field::MaxCompletionTokens}}, TutorReply::Answer},
      {{{400, maxTokens, ""}, {400, temperature, ""}},
       {{true, Field::MaxTokens}, {true, Field::MaxCompletionTokens}, {false, Field::MaxCompletionTokens}},
       TutorReply::Answer},
      {{{400, "temperature and max_tokens", ""}}, {{true, Field::MaxTokens}, {false, Field::MaxCompletionTokens}},
       TutorReply::Answer},
      {{{400, "temperature", ""}, {400, "temperature", ""}}, {{true, Field::MaxTokens}, {false, Field::MaxTokens}},
       TutorReply::Error},
      {{{400, "max_tokens", ""}, {400, "max_tokens", ""}, {400, "temperature", ""}},
       {{true, Field::MaxTokens}, {true, Field::MaxCompletionTokens}}, TutorReply::Error},
      {{{400, "model not found", ""}}, {{true, Field::MaxTokens}}, TutorReply::Error},
      {{{400, "temperature", "read failed"}}, {{true, Field::MaxTokens}}, TutorReply::Error},
      {{{500, "temperature", ""}}, {{true, Field::MaxTokens}}, TutorReply::Error},
  };
  for (const Case& c : cases) {
    platform.replies = c.replies;
    platform.requests.clear();
    logs.clear();
    const TutorReply reply = Solve(QueryKind::Ask, L"q");
    EXPECT_EQ(reply.status, c.status) << c.replies.front().body;
    ASSERT_EQ(platform.requests.size(), c.attempts.size()) << c.replies.front().body;
    for (size_t k = 0; k < c.attempts.size(); ++k) {
      EXPECT_EQ(platform.requests[k].body, BuildChatRequest(config, QueryQuality::Fast, "Question:\nq", "",
                                                            c.attempts[k].temperature, c.attempts[k].field));
    }
    EXPECT_EQ(logs.front(), "[vyk] local fast -> gpt-4o-mini\n");  // once per query, not per attempt
  }
}

// With a memory of refusals, only the first query to a refusing model pays for the retries; the
// next one of the same endpoint and model is sent in the accepted shape at once.
TEST_F(SolveQueryTest, RefusalsAreRememberedForTheNextQueryOfTheSameModel) {
  using Field = ChatTokenLimitField;
  const std::string maxTokens = R"({"error":{"message":"Unsupported parameter: 'max_tokens'"}})";
  const std::string temperature = R"({"error":{"message":"Unsupported value: 'temperature'"}})";
  config.deepModel = "o4-mini";
  ChatShapeMemory shapes;
  auto solve = [&](QueryQuality quality) {
    QueryPlatform bound = platform.Bind();
    bound.chatShapes = &shapes;
    platform.requests.clear();
    return SolveQueryWith(config, bound, QueryKind::Ask, quality, L"q");
  };
  auto body = [&](QueryQuality quality, bool withTemperature, Field field) {
    return BuildChatRequest(config, quality, "Question:\nq", "", withTemperature, field);
  };

  platform.replies = {{400, maxTokens, ""}, {400, temperature, ""}};
  EXPECT_EQ(solve(QueryQuality::Deep).status, TutorReply::Answer);
  EXPECT_EQ(platform.requests.size(), 3u);

  EXPECT_EQ(solve(QueryQuality::Deep).status, TutorReply::Answer);
  ASSERT_EQ(platform.requests.size(), 1u);
  EXPECT_EQ(platform.requests[0].body, body(QueryQuality::Deep, false, Field::MaxCompletionTokens));

  // The fast model of the same endpoint has refused nothing yet.
  EXPECT_EQ(solve(QueryQuality::Fast).status, TutorReply::Answer);
  ASSERT_EQ(platform.requests.size(), 1u);
  EXPECT_EQ(platform.requests[0].body, body(QueryQuality::Fast, true, Field::MaxTokens));

  // A query that ends in an error still teaches what was refused on its way.
  platform.replies = {{400, temperature, ""}, {500, "", ""}};
  EXPECT_EQ(solve(QueryQuality::Fast).status, TutorReply::Error);
  EXPECT_EQ(solve(QueryQuality::Fast).status, TutorReply::Answer);
  ASSERT_EQ(platform.requests.size(), 1u);
  EXPECT_EQ(platform.requests[0].body, body(QueryQuality::Fast, false, Field::MaxTokens));
}

TEST_F(SolveQueryTest, FailedRequestsMapToOneSentenceEach) {
  struct Case {
    HttpResult result;
    std::wstring message;
    std::string log;
  } cases[] = {
      {{401, "{}", ""}, L"Access denied. Check the API key in your configuration.", "[vyk] request failed (HTTP 401)\n"},
      {{403, "", ""}, L"Access denied. Check the API key in your configuration.", "[vyk] request failed (HTTP 403)\n"},
      {{429, "", ""}, L"The tutor service is rate limited. Try again in a moment.", "[vyk] request failed (HTTP 429)\n"},
      {{400, "model not found", ""},
       L"The tutor service rejected the request (HTTP 400). Check your model and endpoint settings.",
       "[vyk] request failed (HTTP 400)\n"},
      {{503, "", ""}, L"The tutor service rejected the request (HTTP 503). Check your model and endpoint settings.",
       "[vyk] request failed (HTTP 503)\n"},
      {{0, "", "request failed (offline? wrong url?)"},
       L"Couldn't reach the tutor service. Check your connection and base_url.", "[vyk] request failed (HTTP 0)\n"},
      {{200, kChatOk, "read failed"},
       L"The tutor service rejected the request (HTTP 200). Check your model and endpoint settings.",
       "[vyk] request failed (HTTP 200)\n"},
  };
  for (const Case& c : cases) {
    platform.replies = {c.result};
    logs.clear();
    ExpectError(Solve(QueryKind::Ask, L"q"), c.message);
    EXPECT_EQ(logs.back(), c.log);
  }
}

TEST_F(SolveQueryTest, SuccessWithoutReadableTextIsAnError) {
  for (const char* body : {R"({"choices":[]})", "<html>", R"({"error":{"message":"x"}})"}) {
    platform.replies = {{200, body, ""}};
    ExpectError(Solve(QueryKind::Ask, L"q"), L"The tutor service didn't return readable text. Try again.");
  }
  for (const std::string& line : logs) EXPECT_EQ(line.find("request failed"), std::string::npos);
}

}  // namespace
